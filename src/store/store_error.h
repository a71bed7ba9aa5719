#pragma once

#include <QString>
#include <stdexcept>

namespace quillon {

// The one exception type of the store: the engine's message, and the statement it was given.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message, const QString& statement = {});

    const QString& message() const { return message_; }
    const QString& statement() const { return statement_; }

private:
    QString message_;
    QString statement_;
};

} // namespace quillon
