#include "orders/order_quantity_dialog.h"

#include "platform/control_font.h"
#include "platform/dialogs.h"
#include "platform/keyboard_access.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/program_state.h"
#include "store/locale_formats.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <limits>

namespace quillon {

namespace {

enum class QuantityCheck { Valid, None, Fraction, OutOfRange };

// Checks a quantity given as the plain decimal text of the leading-number conversion.
QuantityCheck checkQuantity(const QString& number) {
    if (number == u"0")
        return QuantityCheck::None;
    if (number.contains(u'.'))
        return QuantityCheck::Fraction;
    bool ok = false;
    const qlonglong value = number.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return QuantityCheck::OutOfRange;
    return QuantityCheck::Valid;
}

} // namespace

QString OrderQuantityDialog::fractionMessage() {
    return QStringLiteral("The quantity must be a whole number.\r\n\r\n"
                          "Please enter a whole quantity or press Cancel.");
}

QString OrderQuantityDialog::outOfRangeMessage() {
    return QStringLiteral("The quantity is too large.\r\n\r\n"
                          "Please enter a quantity from %1 to %2 or press Cancel.")
        .arg(std::numeric_limits<qint32>::min())
        .arg(std::numeric_limits<qint32>::max());
}

QString OrderQuantityDialog::partNumbersText(const Part& part) {
    QStringList numbers;
    if (!part.dorvaneNum.isEmpty())
        numbers << QStringLiteral("DV No. ") + part.dorvaneNum;
    if (!part.roverNum.isEmpty())
        numbers << QStringLiteral("Rover No. ") + part.roverNum;
    return numbers.join(QStringLiteral("   "));
}

QuantityAnswer OrderQuantityDialog::ask(AppContext& context, const Part& part, const Offer& offer,
                                        QWidget* parent) {
    OrderQuantityDialog dialog(context, part, offer, parent);
    context.dialogs.showModal(dialog);
    return dialog.answer();
}

OrderQuantityDialog::OrderQuantityDialog(AppContext& context, const Part& part, const Offer& offer,
                                         QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmOrderQuantity"));
    setWindowTitle(QStringLiteral("Part Order Details"));
    setModal(true);

    // Which part the quantity is for: its numbers, and its description below them.
    lblPartNumber = new QLabel(partNumbersText(part), this);
    lblPartNumber->setObjectName(QStringLiteral("lblPartNumber"));
    lblPartDescription = new QLabel(part.description, this);
    lblPartDescription->setObjectName(QStringLiteral("lblPartDescription"));
    for (QLabel* label : {lblPartNumber, lblPartDescription}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    lblPartDescription->setWordWrap(true);
    lblPartDescription->setHidden(part.description.isEmpty());

    lblQty = new QLabel(QStringLiteral("Quantity?"), this);
    lblQty->setObjectName(QStringLiteral("lblQty"));
    txtQty = new QLineEdit(this);
    txtQty->setObjectName(QStringLiteral("txtQty"));
    txtQty->setFixedWidth(90);
    lblQty->setBuddy(txtQty);

    lblComment = new QLabel(QStringLiteral("Special instructions?"), this);
    lblComment->setObjectName(QStringLiteral("lblComment"));
    txtComment = new QLineEdit(this);
    txtComment->setObjectName(QStringLiteral("txtComment"));
    txtComment->setMinimumWidth(360);
    lblComment->setBuddy(txtComment);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* fields = new QGridLayout;
    fields->addWidget(lblQty, 0, 0);
    fields->addWidget(txtQty, 0, 1, Qt::AlignLeft);
    fields->addWidget(lblComment, 1, 0);
    fields->addWidget(txtComment, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPartNumber);
    layout->addWidget(lblPartDescription);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(txtQty, txtComment);
    setTabOrder(txtComment, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    ControlFont::applyTo(this);
    KeyboardAccess::prepare(this);
    QFont bold = lblPartNumber->font();
    bold.setBold(true);
    lblPartNumber->setFont(bold);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        context_.guard.run(QStringLiteral("take the quantity"), [this] { cmdOK_Click(); });
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        context_.guard.run(QStringLiteral("cancel the quantity"), [this] { cmdCancel_Click(); });
    });

    Form_Load(offer);
}

void OrderQuantityDialog::Form_Load(const Offer& offer) {
    cmdOK->setDefault(true);
    txtQty->setText(offer.quantity != 0 ? QString::number(offer.quantity) : offer.unitIssue);
    txtComment->setText(offer.comment);
    txtQty->selectAll();
    txtQty->setFocus();
}

void OrderQuantityDialog::cmdOK_Click() {
    const QString number = leadingNumberText(txtQty->text());
    QString refusal;
    switch (checkQuantity(number)) {
    case QuantityCheck::Valid:
        break;
    case QuantityCheck::None:
        refusal = noQuantityMessage();
        break;
    case QuantityCheck::Fraction:
        refusal = fractionMessage();
        break;
    case QuantityCheck::OutOfRange:
        refusal = outOfRangeMessage();
        break;
    }
    if (!refusal.isEmpty()) {
        // Nothing may be written from a refused quantity; the boxes stay as they are.
        answer_ = {};
        context_.dialogs.messageBox(refusal);
        txtQty->setFocus();
        return;
    }

    answer_ = {true, number, txtComment->text()};
    accept();
}

void OrderQuantityDialog::cmdCancel_Click() {
    reject();
}

void OrderQuantityDialog::reject() {
    answer_ = {};
    QDialog::reject();
}

} // namespace quillon
