#pragma once

#include <QString>

class QWidget;

namespace quillon {

struct AppContext;
class AddressTable;

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
    // The Previous Orders window's Print Previous Order, for previousOrderNum.
    void cmdPrintPreviousOrder_Click();

    // orderAddressBlock from the record named orderAddressName; false when there is no such
    // record. buildDeliveryAddress likewise for the delivery address.
    bool buildOrderAddress();
    bool buildDeliveryAddress();

    static QString finaliseTitle() { return QStringLiteral("Finalise order?"); }
    static QString finalisePrompt();
    static QString noAddressPrompt();
    static QString errorTitle() { return QStringLiteral("Order form not printed"); }

private:
    // Shows the address window and checks its answer; true to go on.
    bool chooseAddresses();
    // Writes the page for orderPartsRecordset and opens it; true when the browser has it.
    bool generateAndShow(bool finalising);
    bool buildAddress(const AddressTable& table, const QString& name, QString& block);
    void showFailure(const QString& reason, bool finalising);

    AppContext& context_;
    QWidget* parent_;
};

} // namespace quillon
