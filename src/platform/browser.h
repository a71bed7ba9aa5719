#pragma once

#include <QString>

namespace quillon {

// Opens a page (a file of the Application folder) in a new window of the desktop's web browser.
class Browser {
public:
    // Bars::Hidden asks for a window without address bar, menu bar and status bar where the
    // browser allows it (an app-style window); otherwise an ordinary browser window opens.
    enum class Bars { Shown, Hidden };

    virtual ~Browser() = default;

    // False when no browser could be started.
    [[nodiscard]] virtual bool open(const QString& filePath, Bars bars) = 0;

protected:
    Browser() = default;
    Browser(const Browser&) = default;
    Browser& operator=(const Browser&) = default;
};

} // namespace quillon
