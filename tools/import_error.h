#pragma once

#include <QString>
#include <stdexcept>

namespace quillon {

// A fault in a CSV file: what is wrong, and the line of the file where the faulty record begins
// (1 for the header; 0 when the fault is not tied to a line).
class ImportError final : public std::runtime_error {
public:
    ImportError(const QString& message, qint64 line)
        : std::runtime_error(message.toStdString()), message_(message), line_(line) {}

    [[nodiscard]] const QString& message() const { return message_; }
    [[nodiscard]] qint64 line() const { return line_; }

private:
    QString message_;
    qint64 line_;
};

} // namespace quillon
