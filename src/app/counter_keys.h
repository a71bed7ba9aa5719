#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <functional>

class QKeyEvent;

namespace quillon {

class CustomerRetailFrame;
class FlexGrid;
class HandlerGuard;
class MainWindowInterface;
class PartSearchFrames;

// The keys and the focus of the trade counter on the main window. The default button follows the
// focus: the part number's Search in txtPart, the description's Search in txtDesc and the vehicle
// box, Enter/Update in a Customer Retail box, Add to Order on the results, the focused button
// itself; Enter presses it (on a row of the results it adds the row's part to the order). Down
// or Page Down in a search box goes to the results on their current row, and Up on the first
// row or Esc in the results back to the search box, its text selected, as it is whenever the
// focus comes back to a search box. The clipboard keys stay with the box being typed into;
// Ctrl+C copies a Part Detail value. Watches every event of the application while it lives: the
// window owns it, and it goes before the window's controls do.
class CounterKeys final : public QObject {
    Q_OBJECT

public:
    // addToOrder: what a double click on the results does, entered through the guard.
    // addToOrderButton: the button marked as the default while the results have the focus.
    CounterKeys(MainWindowInterface& window, HandlerGuard& guard, PartSearchFrames& search,
                FlexGrid& grid, CustomerRetailFrame& customerRetail, QPushButton* addToOrderButton,
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
    // The button Enter presses while the control has the focus; null for none.
    [[nodiscard]] QPushButton* defaultButtonFor(QWidget* focus) const;
    // Down or Page Down in a search box, Up on the first row or Esc in the results; true when
    // the key moved the focus.
    bool moveBetweenBoxAndResults(QObject* watched, const QKeyEvent* key);

    MainWindowInterface& window_;
    QWidget* windowWidget_;
    HandlerGuard& guard_;
    PartSearchFrames& search_;
    FlexGrid& grid_;
    CustomerRetailFrame& customerRetail_;
    QPushButton* addToOrderButton_;
    std::function<void()> addToOrder_;
    // The search box that had the focus last: Up or Esc in the results goes back to it.
    QPointer<QLineEdit> lastSearchBox_;
    // The search box a click has just given the focus to.
    QPointer<QLineEdit> selectOnRelease_;
};

} // namespace quillon
