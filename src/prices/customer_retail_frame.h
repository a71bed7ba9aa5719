#pragma once

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AppContext;

// The "Customer Retail" frame (frameCustomerRetail): the customer's own file price, selling
// price and unit for the part shown, in one row, with the Enter/Update and Remove buttons.
class CustomerRetailFrame final : public QGroupBox {
    Q_OBJECT

public:
    explicit CustomerRetailFrame(AppContext& context, QWidget* parent = nullptr);

    QLabel* lblFilePrice;
    QLineEdit* txtFilePrice;
    QLabel* lblSellingPrice;
    QLineEdit* txtSellingPrice;
    QLabel* lblUnit;
    QLineEdit* txtUnit;
    QPushButton* cmdEnterFilePrice;
    QPushButton* cmdRemoveFilePrice;

private:
    AppContext& context_;
};

} // namespace quillon
