#pragma once

#include <QString>

class QDialog;

namespace quillon {

// Every message box, input box, beep and modal showing of a window goes through here, so that
// tests can answer them. Prompts may join lines with CR LF pairs; they show as line breaks.
class Dialogs {
public:
    // OkSavePdf: a notice that offers to save the order form as a PDF instead (OK or SavePdf).
    enum class Buttons { Ok, YesNo, OkSavePdf };
    enum class Icon { None, Question, Exclamation };
    enum class Button { Ok, Yes, No, SavePdf };

    // The title a box shows when it is given none of its own.
    static QString applicationTitle() { return QStringLiteral("Dorvane Quillon"); }

    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed. An empty title shows the
    // application title. A Yes/No box closed any other way answers No. Enter presses the
    // default button: Yes or No as given for a Yes/No box (a question whose Yes destroys
    // something gives No), OK in an OK box.
    virtual Button messageBox(const QString& prompt, Buttons buttons = Buttons::Ok,
                              Icon icon = Icon::None, const QString& title = {},
                              Button defaultButton = Button::Yes) = 0;
    // Asks for one line of text; the empty text on Cancel.
    virtual QString inputBox(const QString& prompt, const QString& title = {},
                             const QString& defaultText = {}) = 0;
    // The system beep.
    virtual void beep() = 0;
    // Asks where to save a file: a save dialog that starts at suggestedPath (a folder and a
    // name) and shows the files that filter names ("PDF files (*.pdf)"). The dialog asks before
    // a file is replaced. The chosen path, or the empty text on Cancel.
    virtual QString saveFileName(const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
    // Shows the window modally and returns when it has closed, with its result code
    // (QDialog::Accepted or QDialog::Rejected).
    virtual int showModal(QDialog& window) = 0;

protected:
    Dialogs() = default;
    Dialogs(const Dialogs&) = default;
    Dialogs& operator=(const Dialogs&) = default;
};

} // namespace quillon
