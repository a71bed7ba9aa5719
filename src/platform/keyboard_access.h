#pragma once

#include <QObject>

class QWidget;

namespace quillon {

// What every window of the program does for a user at the keyboard: the control with the focus
// is always marked, also when the window opens with its default button focused and before any
// key has been pressed; a focused button is pressed by Enter as well as by Space; and every
// control with a label is named by it for a screen reader.
class KeyboardAccess final : public QObject {
    Q_OBJECT

public:
    // Called once a window's controls are built; what it sets up lives as long as the window.
    static void prepare(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeyboardAccess(QWidget* window);
    void markFocus();

    QWidget* window_;
};

} // namespace quillon
