#include "platform/user_settings.h"

#include "platform/private_folder.h"
#include "platform/safe_file_writer.h"
#include "store/shown_path.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace quillon {

namespace {

// Marks the file as this program's own: a file without it is another program's.
const QString programKey = QStringLiteral("program");
const QString programName = QStringLiteral("dorvane-quillon");
// Far more than the program ever writes; a larger file is not ours.
constexpr qint64 largestFile = 256 * 1024;

// Says so once a run for each file, however often it is read.
void ignoring(const QString& path, const QString& why) {
    static QSet<QString> said;
    if (said.contains(path))
        return;
    said.insert(path);
    std::fprintf(stderr, "dorvane-quillon: the settings file %s is ignored: %s\n",
                 qPrintable(shownPath(path)), qPrintable(why));
}

} // namespace

QString UserSettings::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           programName + u'/' + programName + QStringLiteral(".conf");
}

UserSettings::UserSettings(const QString& path) : path_(path) {
    load();
}

void UserSettings::load() {
    const QFileInfo info(path_);
    if (!info.exists() && !info.isSymLink())
        return;
    if (!info.isFile() || info.isSymLink())
        return ignoring(path_, QStringLiteral("it is not a regular file"));
    if (info.size() > largestFile)
        return ignoring(path_, QStringLiteral("it is too large"));
    QSettings file(path_, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return ignoring(path_, QStringLiteral("it can't be read as a settings file"));
    if (file.value(programKey).toString() != programName)
        return ignoring(path_, QStringLiteral("it is not a Dorvane Quillon settings file"));
    const QStringList keys = file.allKeys();
    for (const QString& key : keys) {
        if (key != programKey)
            values_.insert(key, file.value(key));
    }
}

QVariant UserSettings::value(const QString& key, const QVariant& fallback) const {
    return values_.value(key, fallback);
}

void UserSettings::setValue(const QString& key, const QVariant& value) {
    values_.insert(key, value);
}

void UserSettings::remove(const QString& key) {
    values_.remove(key);
}

QString UserSettings::save() const {
    const QString folder = QFileInfo(path_).absolutePath();
    if (QString why; !PrivateFolder::make(folder, &why))
        return QStringLiteral("the folder %1 can't be made: %2").arg(shownPath(folder), why);
    // The settings are laid out by QSettings in a private scratch folder, then written in one
    // step over the file.
    QTemporaryDir scratch(folder + QStringLiteral("/.settings-XXXXXX"));
    if (!scratch.isValid())
        return scratch.errorString();
    const QString laidOut = scratch.filePath(QStringLiteral("settings.conf"));
    {
        QSettings file(laidOut, QSettings::IniFormat);
        file.setValue(programKey, programName);
        for (auto it = values_.cbegin(); it != values_.cend(); ++it)
            file.setValue(it.key(), it.value());
        file.sync();
        if (file.status() != QSettings::NoError)
            return QStringLiteral("the settings can't be written");
    }
    QFile written(laidOut);
    if (!written.open(QIODevice::ReadOnly))
        return written.errorString();
    QString reason;
    if (!SafeFileWriter::writeWhole(path_, written.readAll(), &reason))
        return reason;
    return {};
}

} // namespace quillon
