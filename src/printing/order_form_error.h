#pragma once

#include <QString>
#include <stdexcept>

namespace quillon {

// The order form could not be made: a template that can't be read, a page that can't be
// written. The message is for the user and names the file.
class OrderFormError : public std::runtime_error {
public:
    explicit OrderFormError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    [[nodiscard]] const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace quillon
