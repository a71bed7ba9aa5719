#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace quillon {

// What the subsystems may do to the main window besides their own frames: the status line, the
// order indicator, the command groups whose button and menu item always change together, and the
// default button that Enter presses.
class MainWindowInterface {
public:
    virtual ~MainWindowInterface() = default;

    // Panel 1 of the Status bar, the status line.
    virtual void setStatusText(const QString& text) = 0;
    virtual QString statusText() const = 0;

    // Panel 2 ("ORD"): drawn normally while an order is current, greyed otherwise.
    virtual void setOrderIndicatorEnabled(bool enabled) = 0;
    virtual bool orderIndicatorEnabled() const = 0;

    // The Status bar panel beside ORD: the open order's number, line count and total, read
    // afresh; empty while no order is open. Called after every change of the order's lines.
    virtual void showOrderSummary() = 0;

    // cmdOrder, mnuAddToOrder, mnuDeleteOrder, cmdViewOrder, mnuOrderItem.
    virtual void setOrderCommandsEnabled(bool enabled) = 0;
    // cmdFinaliseOrder, mnuFinaliseOrder.
    virtual void setFinaliseCommandsEnabled(bool enabled) = 0;
    // cmdClear, mnuClearItem.
    virtual void setClearCommandsEnabled(bool enabled) = 0;

    // The button that Enter presses while the focus is in no other button.
    virtual void setDefaultButton(QPushButton* button) = 0;
    virtual QPushButton* defaultButton() const = 0;

    // Shows at once what a handler has emptied (results, Part Detail, customer prices) while it
    // is still running.
    virtual void repaintNow() = 0;
    // The window to parent secondary windows on.
    virtual QWidget* windowWidget() = 0;

protected:
    MainWindowInterface() = default;
    MainWindowInterface(const MainWindowInterface&) = default;
    MainWindowInterface& operator=(const MainWindowInterface&) = default;
};

} // namespace quillon
