#pragma once

#include <QString>
#include <array>

class QLabel;
class QStatusBar;
class QTimer;

namespace quillon {

// The main window's Status bar StatusBar1: the status line (panel 1), ORD (panel 2, enabled while
// an order is current) with the open order's summary beside it, the time (panel 3) and the date
// (panel 4), kept current once a second.
class MainStatusBar final {
public:
    // Lays the panels out in bar and starts the clock.
    explicit MainStatusBar(QStatusBar* bar);

    void setStatusText(const QString& text);
    [[nodiscard]] QString statusText() const;
    // ORD, with the summary beside it emptied and hidden when the order indicator goes off.
    void setOrderIndicatorEnabled(bool enabled);
    [[nodiscard]] bool orderIndicatorEnabled() const;
    // The open order's summary beside ORD; hidden when empty.
    void setOrderSummary(const QString& text);
    void stopClock();

private:
    void updateClock();

    std::array<QLabel*, 4> panels_{};
    QLabel* orderSummary_ = nullptr;
    QTimer* clock_ = nullptr;
};

} // namespace quillon
