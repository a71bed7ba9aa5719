#pragma once

#include <QGroupBox>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace quillon {

struct AppContext;
class AddressNameList;
class AddressTable;

// One side of the Order Address Options window: the frame with Add New, Delete, the name list
// and the eight boxes of one address table. The order side and the delivery side are two
// instances that differ only in their table and texts. Controls are named
// after the table's prefix: cmdNewOrderAddress, cmdDeleteOrderAddress, lstOrder, txtOrderName,
// txtOrderAddress1 ... txtOrderAddress5, txtOrderPostcode, txtOrderTel (Delivery likewise).
//
// The side edits in place: whenever the focus leaves one of its boxes, all eight boxes are
// written into the record shown.
class AddressSide final : public QGroupBox {
    Q_OBJECT

public:
    AddressSide(AppContext& context, const AddressTable& table, const QString& caption,
                QStatusBar& statusBar, QWidget* parent = nullptr);
    ~AddressSide() override;

    // The list's text while the table holds no record.
    static QString emptyListText() { return QStringLiteral("Select \"Add New\""); }

    QPushButton* cmdNew;       // cmdNewOrderAddress
    QPushButton* cmdDelete;    // cmdDeleteOrderAddress
    AddressNameList* lstNames; // lstOrder
    // txtOrderName, txtOrderAddress1 ... 5, txtOrderPostcode, txtOrderTel: the table's columns
    // in order.
    std::array<QLineEdit*, 8> boxes{};
    QLabel* lblContactName;
    QLabel* lblAddress;
    QLabel* lblPostcode;
    QLabel* lblTelephone;

    const AddressTable& table() const { return table_; }

    // Refills the name list from the table and shows the first record.
    void fillAddressList();
    // Fills the boxes from the record named by the shown name; empty columns leave their box as
    // it is.
    void showAddress();
    // Empties the eight boxes.
    void clearAddress();
    // A name was picked from the list: show that record.
    void lstNames_Click();
    // Add New: asks for a name and creates the record.
    void cmdNew_Click();
    // Delete: deletes the record shown, after asking.
    void cmdDelete_Click();
    // Writes the eight boxes into the record shown (nothing while none is shown).
    void updateAddress();

    // The text of the name list, as typed or picked.
    [[nodiscard]] QString listText() const;
    // The name of the record shown, which edits and Delete act on; empty while none is shown.
    [[nodiscard]] const QString& shownName() const { return shownName_; }
    // Whether the table held a record when the list was last filled.
    [[nodiscard]] bool addressesExist() const { return addressesExist_; }
    // Once the window has given its answer, focus changes write nothing more.
    void stopWriting() { writing_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(const QString& action, void (AddressSide::*handler)());
    void showStatus(const QString& text);
    [[nodiscard]] bool nameInUse(const QString& name) const;

    AppContext& context_;
    const AddressTable& table_;
    QString shownName_;
    bool addressesExist_ = false;
    QStatusBar& statusBar_;
    bool writing_ = true;
};

} // namespace quillon
