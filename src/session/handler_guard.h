#pragma once

#include <QString>
#include <functional>

namespace quillon {

class Dialogs;

// Every event handler is entered through here. A failure inside it (the store's error, a file
// that can't be read or written, anything thrown) is caught and shown in an error box that says
// what could not be done and why; the program goes on. No exception reaches Qt's event loop.
class HandlerGuard {
public:
    explicit HandlerGuard(Dialogs& dialogs) : dialogs_(dialogs) {}

    // action says what the handler does, as in "Could not <action>." ("search for the part
    // number", "start a new order"). True when the handler ran to its end.
    bool run(const QString& action, const std::function<void()>& handler) noexcept;

    // The title and prompt of the error box for a failure of that action.
    static QString errorTitle() { return QStringLiteral("Error"); }
    static QString errorPrompt(const QString& action, const QString& reason);

private:
    Dialogs& dialogs_;
};

} // namespace quillon
