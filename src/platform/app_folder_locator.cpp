#include "platform/app_folder_locator.h"

#include "platform/app_folder_error.h"
#include "platform/native_name.h"
#include "platform/per_user_folder.h"
#include "platform/private_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace quillon {

namespace {

bool holdsCatalogue(const QString& folder) {
    return QFileInfo::exists(folder + QStringLiteral("/parts.mdb"));
}

// A folder's name as the system gave it must read as text for the program to name its files.
void requireHandledName(const QByteArray& name) {
    if (!name.isEmpty() && !NativeName::readsBack(name))
        throw AppFolderError(NativeName::unhandledFolder(name));
}

// The name of the folder that holds the running program, as the system holds it.
QByteArray programFolderName() {
    QByteArray target(4096, '\0');
    const auto length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length <= 0)
        return {};
    target.truncate(length);
    return target.left(qMax(target.lastIndexOf('/'), qsizetype(1)));
}

// The per-user data folder's name as the desktop's rules make it from the environment's bytes.
QByteArray userFolderName() {
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!data.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/'))
            return {};
        data = home + "/.local/share";
    }
    return data + '/' + AppFolderLocator::folderName().toUtf8();
}

// The per-user folder is used (or made) only where nobody else can change it.
void requirePrivate(const QString& userFolder) {
    if (const auto problem = PrivateFolder::problem(userFolder, QStringLiteral("your own files")))
        throw AppFolderError(*problem);
}

} // namespace

AppFolderLocator::Places AppFolderLocator::systemPlaces() {
    return Places{QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                  &AppFolderLocator::canWriteFolder, programFolderName(), userFolderName()};
}

bool AppFolderLocator::canWriteFolder(const QString& folder) {
    // access() also refuses a folder on a file system mounted read-only.
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

AppFolderLocator::AppFolderLocator(Places places) : places_(std::move(places)) {
    places_.programFolder = QDir::cleanPath(QDir(places_.programFolder).absolutePath());
    if (!places_.userFolder.isEmpty())
        places_.userFolder = QDir::cleanPath(QDir(places_.userFolder).absolutePath());
    if (!places_.canWrite)
        places_.canWrite = &AppFolderLocator::canWriteFolder;
}

QString AppFolderLocator::installedFolder() const {
    if (holdsCatalogue(places_.programFolder))
        return places_.programFolder;
    const QString shared =
        QDir::cleanPath(places_.programFolder + QStringLiteral("/../share/") + folderName());
    return QFileInfo(shared).isDir() ? shared : QString();
}

AppFolderLocator::Location AppFolderLocator::locate(const QStringList& arguments) const {
    if (const auto given = AppFolder::givenFolder(arguments))
        return Location{AppFolder(*given), Kind::Given, {}, false};

    requireHandledName(places_.programFolderName);
    const QString& program = places_.programFolder;
    if (holdsCatalogue(program) && places_.canWrite(program))
        return Location{AppFolder(program), Kind::ProgramFolder, {}, false};

    const QString installed = installedFolder();
    const QString& user = places_.userFolder;
    if (installed.isEmpty()) {
        if (!user.isEmpty() && QFileInfo(user).isDir()) {
            requireHandledName(places_.userFolderName);
            requirePrivate(user);
            return Location{AppFolder(user), Kind::PerUser, {}, false};
        }
        // Nothing installed: the start-up names what the program's own folder lacks.
        return Location{AppFolder(program), Kind::ProgramFolder, {}, false};
    }
    if (user.isEmpty())
        throw AppFolderError(QStringLiteral(
            "The folder for your own files can't be found: the desktop's data location is "
            "unknown (is HOME set?)."));

    requireHandledName(places_.userFolderName);
    requirePrivate(user);
    const PerUserFolder perUser(installed, user);
    perUser.checkInstalledFiles();
    const bool made = perUser.make();
    return Location{AppFolder(user), Kind::PerUser, installed, made};
}

void AppFolderLocator::complete(const Location& location) {
    if (location.kind == Kind::PerUser && !location.installedFolder.isEmpty())
        PerUserFolder(location.installedFolder, location.folder.path()).complete();
}

} // namespace quillon
