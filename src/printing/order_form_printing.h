#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quillon {

struct AppContext;
class Recordset;

// The Order form of an order's lines: the order and delivery addresses asked for in the Order
// Address Options window, printOrder.html written and opened in the browser. Finalise Order (the
// current order, which the orders then complete) prints through it, and so does Print Previous
// Order (a completed order, changed in no way).
class OrderFormPrinting final {
public:
    // parent: the window that the address window and the boxes stand over (the main window
    // when null).
    explicit OrderFormPrinting(AppContext& context, QWidget* parent = nullptr);

    // The Previous Orders window's Print Previous Order, for the order it shows (0: none).
    void cmdPrintPreviousOrder_Click(qint32 orderNum);

    static QString noAddressPrompt();
    static QString errorTitle() { return QStringLiteral("Order form not printed"); }

    // The address blocks of the Order form.
    struct AddressBlocks {
        QString order;
        QString delivery;
    };

    // Shows the address window and builds the blocks of the records it names; nothing (after
    // the no-address message, unless the window was cancelled) when there is no going on.
    std::optional<AddressBlocks> chooseAddresses();
    // The page for the order's lines (the templates read, every piece built); throws
    // OrderFormError naming a template that can't be read.
    [[nodiscard]] QString page(Recordset& lines, const AddressBlocks& addresses) const;
    // Writes the page for the order's lines and opens it; true when the browser has it.
    // finalising: the failure message says that the order stays open, and when no browser
    // could be started it offers to save the form as a PDF instead (true when it was saved).
    bool generateAndShow(Recordset& lines, const AddressBlocks& addresses, bool finalising);

private:
    void showFailure(const QString& reason, bool finalising);
    // No browser at Finalise: the box offers Save as PDF; true when the PDF was saved.
    bool offerPdf(const QString& reason, const QString& page, const QString& orderNum);

    AppContext& context_;
    QWidget* parent_;
};

} // namespace quillon
