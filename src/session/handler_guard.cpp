#include "session/handler_guard.h"

#include "platform/dialogs.h"
#include "store/store_error.h"

#include <QDebug>
#include <exception>

namespace quillon {

QString HandlerGuard::errorPrompt(const QString& action, const QString& reason) {
    return QStringLiteral("Could not %1.\r\n\r\n%2").arg(action, reason);
}

bool HandlerGuard::run(const QString& action, const std::function<void()>& handler) noexcept {
    QString reason;
    try {
        handler();
        return true;
    } catch (const StoreError& error) {
        reason = QStringLiteral("The database reported: %1").arg(error.message());
        if (!error.statement().isEmpty())
            qWarning().noquote() << "statement that failed:" << error.statement();
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
    } catch (...) {
        reason = QStringLiteral("An unexpected error occurred.");
    }
    try {
        qWarning().noquote() << "Could not" << action << "-" << reason;
        dialogs_.messageBox(errorPrompt(action, reason), Dialogs::Buttons::Ok,
                            Dialogs::Icon::Exclamation, errorTitle());
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
    return false;
}

} // namespace quillon
