#include "platform/desktop_browser.h"

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
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

bool DesktopBrowser::mail(const QString& subject, const QStringList& attachments) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty() || attachments.isEmpty())
        return false;
    // xdg-email runs as long as some mail clients keep their window open, so it is started on
    // its own; its exit status, written beside the attachments, tells a client that could not be
    // found. A client still running after a few seconds has opened.
    const QString status =
        QFileInfo(attachments.first()).absolutePath() + QStringLiteral("/.mail-client-status");
    QFile::remove(status);
    QStringList arguments{QStringLiteral("-c"),
                          QStringLiteral("\"$0\" \"$@\"; echo $? > \"$QUILLON_MAIL_STATUS\""),
                          program,
                          QStringLiteral("--utf8"),
                          QStringLiteral("--subject"),
                          subject};
    for (const QString& file : attachments)
        arguments << QStringLiteral("--attach") << file;
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLON_MAIL_STATUS"), status);
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        return false;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QFile written(status);
        if (written.open(QIODevice::ReadOnly)) {
            const QByteArray code = written.readAll().trimmed();
            if (!code.isEmpty()) {
                written.remove();
                return code == "0";
            }
        }
        QThread::msleep(50);
    }
    return true;
}

} // namespace quillon
