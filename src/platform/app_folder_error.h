#pragma once

#include <QString>
#include <stdexcept>

namespace quillon {

// The Application folder can't be found or made: the message names the file or folder, for the
// user.
class AppFolderError : public std::runtime_error {
public:
    explicit AppFolderError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace quillon
