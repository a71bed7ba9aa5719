#pragma once

#include <QSize>

class QSplitter;
class QWidget;

namespace quillon {

class FlexGrid;
class UserSettings;

// What a main window remembers of itself between runs, in the user's settings: its size and
// place (as it is when not maximised), whether it is maximised, the split between its list and
// what lies below it, and the least widths of the list's columns.
class WindowMemory final {
public:
    WindowMemory(QWidget& window, QSplitter& splitter, FlexGrid& grid);

    // Before the window is shown: as it was left. A place no longer on any screen comes back
    // onto the nearest one, and a size larger than that screen is cut to it. Without anything
    // remembered: the preferred size where the screen has room for it (and a window frame),
    // else maximised. A remembered value that is no such value is passed over.
    void restore(const UserSettings& settings, QSize preferred) const;
    // As the window closes.
    void remember(UserSettings& settings) const;

    // The room a window frame and a desktop panel take beside a window.
    static constexpr QSize frameAllowance{16, 40};

private:
    QWidget& window_;
    QSplitter& splitter_;
    FlexGrid& grid_;
};

} // namespace quillon
