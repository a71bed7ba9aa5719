#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The desktop's programs that take the program's files: the web browser, which opens a page (a
// file of the Application folder) in a new window, and the mail client, which starts a message
// with files attached.
class Browser {
public:
    // Bars::Hidden asks for a window without address bar, menu bar and status bar where the
    // browser allows it (an app-style window); otherwise an ordinary browser window opens.
    enum class Bars { Shown, Hidden };

    virtual ~Browser() = default;

    // False when no browser could be started.
    [[nodiscard]] virtual bool open(const QString& filePath, Bars bars) = 0;
    // Starts a new message in the user's mail client with that subject and the files attached.
    // False when no mail client could be started.
    [[nodiscard]] virtual bool mail(const QString& subject, const QStringList& attachments) = 0;

protected:
    Browser() = default;
    Browser(const Browser&) = default;
    Browser& operator=(const Browser&) = default;
};

} // namespace quillon
