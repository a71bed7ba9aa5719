#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quillon {

struct AppContext;
class Recordset;

// The two commands that print the Order form: Finalise Order (the current order, which is then
// completed) and Print Previous Order (a completed order, changed in no way). Both ask for the
// order and delivery addresses in the Order Address Options window, write printOrder.html and
// open it in the browser.
class OrderFormPrinting final {
public:
    // parent: the window that the address window and the boxes stand over (the main window
    // when null).
    explicit OrderFormPrinting(AppContext& context, QWidget* parent = nullptr);

    // The main window's Finalise Order (cmdFinaliseOrder and mnuFinaliseOrder). The order is
    // completed last, and only once its page has been written and handed to the browser.
    void cmdFinaliseOrder_Click();
    // The Previous Orders window's Print Previous Order, for the order it shows (0: none).
    void cmdPrintPreviousOrder_Click(qint32 orderNum);

    static QString finaliseTitle() { return QStringLiteral("Finalise order?"); }
    static QString finalisePrompt();
    static QString noAddressPrompt();
    static QString errorTitle() { return QStringLiteral("Order form not printed"); }

private:
    // The address blocks of the Order form.
    struct AddressBlocks {
        QString order;
        QString delivery;
    };

    // Shows the address window and builds the blocks of the records it names; nothing (after
    // the no-address message, unless the window was cancelled) when there is no going on.
    std::optional<AddressBlocks> chooseAddresses();
    // Writes the page for the order's lines and opens it; true when the browser has it.
    bool generateAndShow(Recordset& lines, const AddressBlocks& addresses, bool finalising);
    void showFailure(const QString& reason, bool finalising);

    AppContext& context_;
    QWidget* parent_;
};

} // namespace quillon
