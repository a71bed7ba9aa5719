#pragma once

#include <QString>

class QWidget;

namespace quillon {

struct AppContext;

// Finalise Order (cmdFinaliseOrder and mnuFinaliseOrder): after the question, the order's lines
// go to the Order form through the order form printing, and the order is completed last, and
// only once its page has been written and handed to the browser.
class OrderFinaliser final {
public:
    // parent: the window that the address window and the boxes stand over (the main window
    // when null).
    explicit OrderFinaliser(AppContext& context, QWidget* parent = nullptr);

    void cmdFinaliseOrder_Click();

    static QString finaliseTitle() { return QStringLiteral("Finalise order?"); }
    static QString finalisePrompt();

private:
    AppContext& context_;
    QWidget* parent_;
};

} // namespace quillon
