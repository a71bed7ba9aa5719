#pragma once

#include "platform/flex_grid_columns.h"

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace quillon {

struct AppContext;
class FlexGrid;

// The View Parts Order window frmViewOrder: the lines of the current order with their prices and
// the order total. Modify changes the selected line's quantity and special instructions through
// the Part Order Details dialog (its price stays); Delete removes the selected line after a
// question. The selected line is the one in the grid's current row; a pick anywhere in a row
// selects the whole row. The grid is read afresh when the window is created and after each change.
// By keyboard: the focus starts on the lines; Enter modifies the current line and the Delete key
// deletes it; Tab goes from the lines to Modify, Delete and OK.
class ViewOrderWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ViewOrderWindow(AppContext& context, QWidget* parent = nullptr);

    // The grid's columns: the row number (fixed), then the line's values. The widths are the
    // least each column gets: numbers and amounts show whole, the description and the special
    // instructions share the room left.
    static constexpr int columnCount = 8;
    static constexpr int columnWidthsTwips[columnCount] = {270,  1200, 1200, 3400,
                                                           1800, 400,  800,  800};
    static constexpr ColumnFit columnFits[columnCount] = {
        ColumnFit::Content, ColumnFit::Content, ColumnFit::Content, ColumnFit::Fill,
        ColumnFit::Fill,    ColumnFit::Content, ColumnFit::Content, ColumnFit::Content};
    static QString headerText(int column);

    // The notice rows shown instead of lines.
    static QString noOrderNotice() { return QStringLiteral("NO current order."); }
    static QString noPartsNotice() { return QStringLiteral("NO parts in current order."); }

    // Refills the grid, the line IDs of its rows and the total from the User database.
    void fillOrderGrid();
    void cmdModify_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    // The grid's current cell moved: the selection widens to the whole row.
    void MSFlexGridViewOrder_RowColChange();

    // The text of StatusBarOrder.
    [[nodiscard]] QString statusText() const;
    // The orderParts ID of the line in the grid's current row, or 0 when there is none.
    [[nodiscard]] qint32 selectedLineId() const;

    QLabel* lblOrderNum;
    FlexGrid* MSFlexGridViewOrder;
    QLabel* lblOrderTotal;
    QLineEdit* txtOrderTotal;
    QPushButton* cmdModify;
    QPushButton* cmdDelete;
    QPushButton* cmdOK;
    QStatusBar* StatusBarOrder;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void setStatusText(const QString& text);
    // Connects a button to a handler of this window, entered through the handler guard.
    void route(QPushButton* button, const QString& action, void (ViewOrderWindow::*handler)());

    AppContext& context_;
    QLabel* statusPanel_ = nullptr;
    std::vector<qint32> lineIds_; // orderParts ID of each grid row
    bool hasParts_ = false;
};

} // namespace quillon
