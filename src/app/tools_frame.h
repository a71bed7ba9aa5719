#pragma once

#include <QGroupBox>
#include <array>

class QPushButton;

namespace quillon {

// The "Tools" frame (frameTools): the seven command buttons in one row.
class ToolsFrame final : public QGroupBox {
    Q_OBJECT

public:
    explicit ToolsFrame(QWidget* parent = nullptr);

    QPushButton* cmdClear;
    QPushButton* cmdStartOrder;
    QPushButton* cmdOrder;
    QPushButton* cmdViewOrder;
    QPushButton* cmdFinaliseOrder;
    QPushButton* cmdPreviousOrders;
    QPushButton* cmdOptions;
    // The seven above, left to right.
    std::array<QPushButton*, 7> buttons() const;
};

} // namespace quillon
