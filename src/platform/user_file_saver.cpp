#include "platform/user_file_saver.h"

#include "platform/dialogs.h"
#include "platform/safe_file_writer.h"
#include "platform/user_settings.h"
#include "store/shown_path.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

QString UserFileSaver::startFolder() {
    const QString remembered = UserSettings().value(lastFolderKey()).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

std::optional<QString> UserFileSaver::askPath(const QString& title, const QString& defaultName,
                                              const QString& filter) {
    QString path = dialogs_.saveFileName(title, QDir(startFolder()).filePath(defaultName), filter);
    if (path.isEmpty())
        return std::nullopt;
    const QString suffix = QFileInfo(defaultName).suffix();
    if (!suffix.isEmpty() && QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
        path += u'.' + suffix;
        // The dialog asked about the name typed, not about this one.
        const QFileInfo added(path);
        if ((added.exists() || added.isSymLink()) &&
            dialogs_.messageBox(QStringLiteral("%1 already exists.\r\n\r\nDo you want to "
                                               "replace it?")
                                    .arg(shownPath(path)),
                                Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                QStringLiteral("Replace file?"),
                                Dialogs::Button::No) != Dialogs::Button::Yes)
            return std::nullopt;
    }
    UserSettings settings;
    settings.setValue(lastFolderKey(), QFileInfo(path).absolutePath());
    (void)settings.save(); // a folder not remembered costs the user one step next time
    return path;
}

bool UserFileSaver::write(const QString& path, const QByteArray& bytes) {
    QString reason;
    if (SafeFileWriter::writeWhole(path, bytes, &reason))
        return true;
    dialogs_.messageBox(QStringLiteral("%1 could not be written: %2\r\n\r\nNothing was saved.")
                            .arg(shownPath(path), reason),
                        Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, failureTitle());
    return false;
}

} // namespace quillon
