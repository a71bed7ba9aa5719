#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace quillon {

struct AppContext;
class FlexGrid;

// frmBackOrders, "Previous Orders": the completed orders in a list (number and date), the lines
// of the one selected in a grid with their prices and the order's total, Print Previous Order,
// and the order shown printed, saved as PDF, exported as CSV or e-mailed. Changes no stored data.
// Laid out in twips as the program has always been, at the least size; it opens wide enough for the
// grid's columns, and a larger window gives them more room.
class PreviousOrdersWindow final : public QDialog {
    Q_OBJECT

public:
    // Loads the list at once (store failures are thrown from here).
    explicit PreviousOrdersWindow(AppContext& context, QWidget* parent = nullptr);

    static QString noOrdersNotice() { return QStringLiteral("NO previous orders."); }
    static QString noPartsNotice() { return QStringLiteral("NO parts in order."); }
    // "4  -  06/12/2026"
    static QString listEntry(const QString& orderNum, const QString& orderDate);

    QGroupBox* frameOrders;
    QListWidget* lstAllOrders;
    QPushButton* cmdPrintPreviousOrder;
    // Beside it: the order shown printed, saved as PDF, exported as CSV, e-mailed.
    QPushButton* cmdPrintOrder;
    QPushButton* cmdSaveOrderPdf;
    QPushButton* cmdExportOrderCsv;
    QPushButton* cmdEmailOrder;
    FlexGrid* MSFlexGridOrders;
    QLabel* lblOrderTotal;
    QLineEdit* txtAllOrdersOrderTotal;
    QPushButton* cmdClose;
    QStatusBar* OptionsStatusBar;

    void Form_Load();
    void listPreviousOrders();
    void lstAllOrders_Click();
    void showPreviousOrder();
    void cmdPrintPreviousOrder_Click();
    void cmdClose_Click();

    // The OrderNum of the order shown, which Print Previous Order prints; 0 when none is.
    [[nodiscard]] qint32 selectedOrderNum() const { return orderNum_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int designWidth = 12375;
    static constexpr int designHeight = 3630;
    void placeControls();
    void route(const QString& action, void (PreviousOrdersWindow::*handler)());

    AppContext& context_;
    std::vector<qint32> orderNums_; // OrderNum of each entry of the list
    qint32 orderNum_ = 0;
};

} // namespace quillon
