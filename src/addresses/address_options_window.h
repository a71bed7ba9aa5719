#pragma once

#include "addresses/address_choice.h"

#include <QDialog>

class QPushButton;
class QStatusBar;

namespace quillon {

struct AppContext;
class AddressSide;

// frmOptions, "Order Address Options": keeps the named order and delivery addresses, and is the
// chooser of the order form printing. The main window and the printing open it modally; the
// printing takes its answer afterwards from choice().
//
// However the window is closed (OK, Enter, Cancel, Esc or the window frame), the boxes of both
// sides are written into their records first, as a focus loss would, so no edit is lost. Any
// close but OK answers "cancel".
class AddressOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    // Loads both lists at once (store failures are thrown from here).
    explicit AddressOptionsWindow(AppContext& context, QWidget* parent = nullptr);

    AddressSide* orderSide;    // "Order Company Details"
    AddressSide* deliverySide; // "Delivery Address Details"
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QStatusBar* OptionsStatusBar;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Esc and the window frame: as Cancel.
    void reject() override;

    // The answer given when the window closed (Cancel until then).
    [[nodiscard]] const AddressChoice& choice() const { return choice_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void writeBoxes();
    void finish(AddressChoice::Outcome outcome, int result);

    AppContext& context_;
    AddressChoice choice_;
    bool finished_ = false;
};

} // namespace quillon
