#include "addresses/address_side.h"

#include "addresses/address_name_list.h"
#include "addresses/address_table.h"
#include "platform/dialogs.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/program_state.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace quillon {

namespace {

// The box of column i of the table, after the table's prefix.
QString boxName(const QString& prefix, int column) {
    if (column == 0)
        return QStringLiteral("txt%1Name").arg(prefix);
    if (column <= 5)
        return QStringLiteral("txt%1Address%2").arg(prefix).arg(column);
    return column == 6 ? QStringLiteral("txt%1Postcode").arg(prefix)
                       : QStringLiteral("txt%1Tel").arg(prefix);
}

} // namespace

AddressSide::AddressSide(AppContext& context, const AddressTable& table, const QString& caption,
                         QStatusBar& statusBar, QWidget* parent)
    : QGroupBox(caption, parent), context_(context), table_(table), statusBar_(statusBar) {
    const QString& prefix = table.prefix();
    setObjectName(QStringLiteral("frame%1Details").arg(prefix));

    cmdNew = new QPushButton(QStringLiteral("Add New"), this);
    cmdNew->setObjectName(QStringLiteral("cmdNew%1Address").arg(prefix));
    cmdDelete = new QPushButton(QStringLiteral("Delete"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete%1Address").arg(prefix));

    lstNames = new AddressNameList(this);
    lstNames->setObjectName(QStringLiteral("lst%1").arg(prefix));

    for (int column = 0; column < AddressTable::fieldCount; ++column) {
        auto* box = new QLineEdit(this);
        box->setObjectName(boxName(prefix, column));
        box->installEventFilter(this);
        boxes[static_cast<std::size_t>(column)] = box;
    }

    const auto label = [this, &prefix](const QString& text, const char* name) {
        auto* created = new QLabel(text, this);
        created->setObjectName(QStringLiteral("lbl%1%2").arg(prefix, QLatin1String(name)));
        return created;
    };
    lblContactName = label(QStringLiteral("Contact Name:"), "ContactName");
    lblAddress = label(QStringLiteral("Address:"), "Address");
    lblPostcode = label(QStringLiteral("Post Code:"), "Postcode");
    lblTelephone = label(QStringLiteral("Telephone:"), "Tel");
    lblContactName->setBuddy(boxes[0]);
    lblAddress->setBuddy(boxes[1]);
    lblPostcode->setBuddy(boxes[6]);
    lblTelephone->setBuddy(boxes[7]);
    // The address lines below the first share its label: each is named by its line.
    for (int line = 2; line <= 5; ++line)
        boxes[static_cast<std::size_t>(line)]->setAccessibleName(
            QStringLiteral("Address line %1").arg(line));
    lstNames->setAccessibleName(caption + QStringLiteral(" name"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdDelete);
    buttons->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addLayout(buttons, 0, 0, 1, 2);
    layout->addWidget(lstNames, 1, 0, 1, 2);
    layout->addWidget(lblContactName, 2, 0, 1, 2);
    layout->addWidget(boxes[0], 3, 0, 1, 2);
    layout->addWidget(lblAddress, 4, 0, 1, 2);
    for (int line = 1; line <= 5; ++line)
        layout->addWidget(boxes[static_cast<std::size_t>(line)], 4 + line, 0, 1, 2);
    layout->addWidget(lblPostcode, 10, 0);
    layout->addWidget(boxes[6], 10, 1);
    layout->addWidget(lblTelephone, 11, 0);
    layout->addWidget(boxes[7], 11, 1);
    layout->setColumnStretch(1, 1);

    connect(cmdNew, &QPushButton::clicked, this, [this] {
        run(QStringLiteral("create the address record"), &AddressSide::cmdNew_Click);
    });
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        run(QStringLiteral("delete the address record"), &AddressSide::cmdDelete_Click);
    });
    // Only a name picked from the list changes the record shown; a typed one never does.
    connect(lstNames, &AddressNameList::picked, this, [this] {
        run(QStringLiteral("show the address record"), &AddressSide::lstNames_Click);
    });
}

AddressSide::~AddressSide() {
    writing_ = false;
    for (QLineEdit* box : boxes)
        box->removeEventFilter(this);
}

void AddressSide::run(const QString& action, void (AddressSide::*handler)()) {
    context_.guard.run(action, [this, handler] { (this->*handler)(); });
}

void AddressSide::showStatus(const QString& text) {
    statusBar_.showMessage(text);
}

void AddressSide::fillAddressList() {
    lstNames->clear();
    clearAddress();
    Recordset names = context_.state.userDb->openRecordset(table_.selectNames());
    if (names.bof() && names.eof()) {
        lstNames->setEditText(emptyListText());
        addressesExist_ = false;
        // No record is shown: edits and Delete have nothing to act on (the name shown before
        // may be the record just deleted).
        shownName_.clear();
        return;
    }
    shownName_ = names.field(u"RecordName").toText();
    addressesExist_ = true;
    for (; !names.eof(); names.moveNext())
        lstNames->addItem(names.field(u"RecordName").toText());
    lstNames->setCurrentIndex(0);
    lstNames->setEditText(shownName_);
    showAddress();
}

void AddressSide::showAddress() {
    Recordset record = context_.state.userDb->openRecordset(table_.selectRecord(shownName_));
    if (record.eof())
        return;
    for (int column = 0; column < AddressTable::fieldCount; ++column) {
        const Value& value = record.field(table_.columns()[column]);
        if (!value.isAbsent())
            boxes[static_cast<std::size_t>(column)]->setText(value.toText());
    }
}

void AddressSide::clearAddress() {
    for (QLineEdit* box : boxes)
        box->clear();
}

void AddressSide::lstNames_Click() {
    clearAddress();
    shownName_ = lstNames->currentText();
    showAddress();
}

void AddressSide::cmdNew_Click() {
    const QString title = QStringLiteral("New %1 Address Name").arg(table_.prefix());
    const QString name = context_.dialogs.inputBox(QStringLiteral("Enter a name for this record"),
                                                   title, QStringLiteral("New"));
    if (name.isEmpty())
        return;
    // Records are found by their name (without regard to letter case): a second record of a
    // name in use could never be shown or edited.
    if (nameInUse(name)) {
        context_.dialogs.messageBox(
            QStringLiteral("There is already a %1 address record named \"%2\".\r\n\r\n"
                           "Choose another name for the new record.")
                .arg(table_.prefix().toLower(), name),
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, title);
        showStatus(QStringLiteral("Record NOT created"));
        return;
    }
    context_.state.userDb->execute(table_.insertRecord(name));
    showStatus(QStringLiteral("New record created. Enter new details and press Update"));
    fillAddressList();
    const int index = lstNames->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index >= 0)
        lstNames->setCurrentIndex(index);
    lstNames->setEditText(name);
    shownName_ = name;
    clearAddress();
}

void AddressSide::cmdDelete_Click() {
    if (shownName_.isEmpty())
        return;
    const Dialogs::Button answer = context_.dialogs.messageBox(
        QStringLiteral("Are you sure? This will permanently delete the address details for ") +
            shownName_,
        Dialogs::Buttons::YesNo, Dialogs::Icon::Question, QStringLiteral("Delete record?"),
        Dialogs::Button::No);
    if (answer != Dialogs::Button::Yes) {
        showStatus(QStringLiteral("Record NOT deleted"));
        return;
    }
    context_.state.userDb->execute(table_.deleteRecord(shownName_));
    fillAddressList();
    showStatus(QStringLiteral("Record deleted"));
}

void AddressSide::updateAddress() {
    if (shownName_.isEmpty())
        return;
    QStringList values;
    for (const QLineEdit* box : boxes)
        values << box->text();
    context_.state.userDb->execute(table_.updateRecord(shownName_, values));
    showStatus(QStringLiteral("Record \"%1\" updated").arg(shownName_));
}

QString AddressSide::listText() const {
    return lstNames->currentText();
}

bool AddressSide::nameInUse(const QString& name) const {
    return !context_.state.userDb->openRecordset(table_.selectName(name)).isEmpty();
}

bool AddressSide::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && writing_) {
        // The focus leaving the box within the window; not the whole window losing the focus
        // to another window, nor a popup opening.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            run(QStringLiteral("update the address record"), &AddressSide::updateAddress);
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace quillon
