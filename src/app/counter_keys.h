#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;

namespace quillon {

class CustomerRetailFrame;
class FlexGrid;
class HandlerGuard;
class MainWindowInterface;
class PartSearchFrames;

// The keys and the focus of the trade counter on the main window: Enter on a row of the results
// adds its part to the order, Enter in a Customer Retail box stores the prices, Enter elsewhere
// presses the default button; the search boxes select their text when the focus comes back to
// them; the clipboard keys stay with the box being typed into; Ctrl+C copies a Part Detail
// value. Watches every event of the application while it lives: the window owns it, and it
// goes before the window's controls do.
class CounterKeys final : public QObject {
    Q_OBJECT

public:
    // addToOrder: what a double click on the results does, entered through the guard.
    CounterKeys(MainWindowInterface& window, HandlerGuard& guard, PartSearchFrames& search,
                FlexGrid& grid, CustomerRetailFrame& customerRetail,
                std::function<void()> addToOrder);
    ~CounterKeys() override;

    // An Enter that no control of the window took; true when it was used.
    bool enterPressed(QKeyEvent* event);
    // The focus to the part number box with its text selected, so that the next part number
    // typed replaces the last.
    void focusPartNumber();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectSearchTextOnReturn(QObject* watched, QEvent* event);

    MainWindowInterface& window_;
    QWidget* windowWidget_;
    HandlerGuard& guard_;
    PartSearchFrames& search_;
    FlexGrid& grid_;
    CustomerRetailFrame& customerRetail_;
    std::function<void()> addToOrder_;
    // The search box a click has just given the focus to.
    QPointer<QLineEdit> selectOnRelease_;
};

} // namespace quillon
