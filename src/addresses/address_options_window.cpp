#include "addresses/address_options_window.h"

#include "addresses/address_name_list.h"
#include "addresses/address_side.h"
#include "addresses/address_table.h"
#include "platform/control_font.h"
#include "platform/keyboard_access.h"
#include "session/app_context.h"
#include "session/handler_guard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quillon {

AddressOptionsWindow::AddressOptionsWindow(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Order Address Options"));
    // A dialog frame without minimise and maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    OptionsStatusBar = new QStatusBar(this);
    OptionsStatusBar->setObjectName(QStringLiteral("OptionsStatusBar"));
    OptionsStatusBar->setSizeGripEnabled(false);

    orderSide = new AddressSide(context, AddressTable::order(),
                                QStringLiteral("Order Company Details"), *OptionsStatusBar, this);
    deliverySide =
        new AddressSide(context, AddressTable::delivery(),
                        QStringLiteral("Delivery Address Details"), *OptionsStatusBar, this);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* frames = new QHBoxLayout;
    frames->addWidget(orderSide, 1);
    frames->addWidget(deliverySide, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);
    layout->addWidget(OptionsStatusBar);
    layout->setContentsMargins(8, 8, 8, 0);

    ControlFont::applyTo(this);
    KeyboardAccess::prepare(this);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        context_.guard.run(QStringLiteral("take the addresses"), [this] { cmdOK_Click(); });
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    // Enter in a name list presses OK, as it does in the boxes.
    for (AddressSide* side : {orderSide, deliverySide})
        side->lstNames->lineEdit()->installEventFilter(this);

    Form_Load();
}

void AddressOptionsWindow::Form_Load() {
    orderSide->fillAddressList();
    deliverySide->fillAddressList();
    cmdOK->setDefault(true);
}

void AddressOptionsWindow::writeBoxes() {
    orderSide->updateAddress();
    deliverySide->updateAddress();
}

void AddressOptionsWindow::finish(AddressChoice::Outcome outcome, int result) {
    choice_ = {outcome, {}, {}};
    if (outcome == AddressChoice::Outcome::Ok) {
        choice_.orderName = orderSide->listText();
        choice_.deliveryName = deliverySide->listText();
    }
    finished_ = true;
    orderSide->stopWriting();
    deliverySide->stopWriting();
    QDialog::done(result);
}

void AddressOptionsWindow::cmdOK_Click() {
    if (finished_)
        return;
    // Enter presses OK without moving the focus: the box being typed in is written here.
    writeBoxes();
    const bool bothExist = orderSide->addressesExist() && deliverySide->addressesExist();
    finish(bothExist ? AddressChoice::Outcome::Ok : AddressChoice::Outcome::NoAddress,
           QDialog::Accepted);
}

void AddressOptionsWindow::cmdCancel_Click() {
    if (finished_)
        return;
    // A failed write is reported; the window still closes, as the user asked.
    context_.guard.run(QStringLiteral("update the address records"), [this] { writeBoxes(); });
    finish(AddressChoice::Outcome::Cancel, QDialog::Rejected);
}

void AddressOptionsWindow::reject() {
    cmdCancel_Click();
}

bool AddressOptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            cmdOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quillon
