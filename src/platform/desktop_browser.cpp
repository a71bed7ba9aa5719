#include "platform/desktop_browser.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace quillon {

bool DesktopBrowser::open(const QString& filePath, Bars bars) {
    const QUrl url = QUrl::fromLocalFile(filePath);
    if (bars == Bars::Hidden) {
        for (const char* name :
             {"chromium", "chromium-browser", "google-chrome", "microsoft-edge"}) {
            const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!program.isEmpty() &&
                QProcess::startDetached(program, {QStringLiteral("--app=") + url.toString()}))
                return true;
        }
    }
    return QDesktopServices::openUrl(url);
}

} // namespace quillon
