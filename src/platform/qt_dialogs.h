#pragma once

#include "platform/dialogs.h"

#include <memory>

class QMessageBox;

namespace quillon {

// The dialogs the user sees: Qt's message box, input dialog and beep, and a real modal loop.
// Boxes are shown over the active modal window, or else the active window.
class QtDialogs final : public Dialogs {
public:
    Button messageBox(const QString& prompt, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                      const QString& title = {}, Button defaultButton = Button::Yes) override;
    QString inputBox(const QString& prompt, const QString& title = {},
                     const QString& defaultText = {}) override;
    QString saveFileName(const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    void beep() override;
    int showModal(QDialog& window) override;

    // A prompt's CR LF pairs (and lone CRs) as the line breaks a Qt box shows.
    static QString displayText(const QString& prompt);
    // The message box messageBox() shows, not yet shown: at least as wide as its title needs
    // beside the window's buttons, so that no title is cut short in the title bar.
    static std::unique_ptr<QMessageBox> buildBox(const QString& prompt, Buttons buttons, Icon icon,
                                                 const QString& title, Button defaultButton);
    // The width a window needs for the title in its title bar: the title in a bold font a size
    // larger than the program's, the window's icon and its three buttons.
    [[nodiscard]] static int titleBarWidth(const QString& title);
};

} // namespace quillon
