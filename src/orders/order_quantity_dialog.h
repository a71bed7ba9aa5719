#pragma once

#include "orders/quantity_answer.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AppContext;

// The Part Order Details dialog frmOrderQuantity: asks for the quantity and the special
// instructions of an order line, under the numbers and the description of the line's part.
//
// The caller offers an existing line's values (or a quantity of 0, so that the unit of issue of the
// part shown is offered), shows the dialog modally, and then takes its answer. An answer that is
// not ok (Cancel, Esc, or the window closed from its frame) means that nothing is to be written.
//
// OK takes the number the quantity box begins with ("3 boxes" gives 3). It refuses, with a
// message and the dialog left open: 0 or no number, a quantity with a fraction (order lines hold
// whole quantities), and a quantity beyond the 32-bit range.
class OrderQuantityDialog final : public QDialog {
    Q_OBJECT

public:
    // The part the line is for, as the dialog names it.
    struct Part {
        QString dorvaneNum;
        QString roverNum;
        QString description;
    };

    // The values offered in the boxes; a quantity of 0 offers the unit of issue instead.
    struct Offer {
        qint32 quantity = 0;
        QString comment;
        QString unitIssue;
    };

    OrderQuantityDialog(AppContext& context, const Part& part, const Offer& offer,
                        QWidget* parent = nullptr);

    // Shows the dialog modally through the dialogs seam and returns its answer.
    static QuantityAnswer ask(AppContext& context, const Part& part, const Offer& offer,
                              QWidget* parent);

    [[nodiscard]] const QuantityAnswer& answer() const { return answer_; }

    // "DV No. <number>   Rover No. <number>", leaving out a number the part hasn't got.
    static QString partNumbersText(const Part& part);

    // The messages OK shows for a quantity it refuses.
    static QString noQuantityMessage() {
        return QStringLiteral("Please enter a quantity or press Cancel.");
    }
    static QString fractionMessage();
    static QString outOfRangeMessage();

    void cmdOK_Click();
    void cmdCancel_Click();
    // Esc and the window's frame close the dialog as Cancel does.
    void reject() override;

    QLabel* lblPartNumber;
    QLabel* lblPartDescription;
    QLabel* lblQty;
    QLineEdit* txtQty;
    QLabel* lblComment;
    QLineEdit* txtComment;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void Form_Load(const Offer& offer);

    AppContext& context_;
    QuantityAnswer answer_;
};

} // namespace quillon
