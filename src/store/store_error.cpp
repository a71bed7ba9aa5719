#include "store/store_error.h"

namespace quillon {

namespace {

std::string describe(const QString& message, const QString& statement) {
    if (statement.isEmpty())
        return message.toStdString();
    return QString(message + QStringLiteral("\nStatement: ") + statement).toStdString();
}

} // namespace

StoreError::StoreError(const QString& message, const QString& statement)
    : std::runtime_error(describe(message, statement)), message_(message), statement_(statement) {}

} // namespace quillon
