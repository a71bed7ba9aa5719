#include "app/start_up.h"

#include "app/main_window.h"
#include "housekeeping/user_data_backup.h"
#include "platform/app_folder.h"
#include "platform/app_folder_error.h"
#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "store/locale_formats.h"
#include "store/store_error.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>

namespace quillon {

namespace {

const QString paragraph = QStringLiteral("\r\n\r\n");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString folderOf(const QString& path) {
    return native(QFileInfo(path).absolutePath());
}

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

void requireFolder(const AppFolder& folder) {
    if (!QFileInfo(folder.path()).isDir())
        throw StartUpError(
            QStringLiteral("The Application folder %1 doesn't exist.").arg(native(folder.path())));
}

void requireReadableFile(const QString& path, const QString& role) {
    const QFileInfo info(path);
    if (!info.exists())
        throw StartUpError(QStringLiteral("The %1 %2 is missing from the folder %3.")
                               .arg(role, nameOf(path), folderOf(path)));
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw StartUpError(QStringLiteral("The %1 %2 in the folder %3 can't be read.")
                               .arg(role, nameOf(path), folderOf(path)));
}

// Whether the program can write the file: the system lets it open the file for writing, and
// the file isn't marked read-only (a mark that even an administrator, whom the system lets
// write anything, means to be kept).
bool isWritableFile(const QString& path) {
    constexpr auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(QFile::permissions(path) & anyWrite))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

[[noreturn]] void damaged(const AppFolder& folder, const QString& reason) {
    const QString user = folder.userDatabase();
    const QFileInfo backup(folder.userBackup());
    QString message = QStringLiteral("The user database %1 in the folder %2 is damaged and "
                                     "can't be used. Dorvane Quillon has not changed it.")
                          .arg(nameOf(user), folderOf(user)) +
                      paragraph;
    if (backup.isFile())
        message += QStringLiteral("The last backup of your user data, %1, is in the same "
                                  "folder (saved %2).")
                       .arg(backup.fileName(), LocaleFormats::systemLocale().toString(
                                                   backup.lastModified(), QLocale::ShortFormat));
    else
        message += QStringLiteral("There is no backup of your user data (%1) in that folder.")
                       .arg(backup.fileName());
    message += paragraph + UserDataBackup::restoreNotice() + paragraph +
               QStringLiteral("What is wrong: %1").arg(reason);
    throw StartUpError(message);
}

// The engine's words for a store that another program has locked.
bool isLockedByAnother(const StoreError& error) {
    return error.message().contains(QLatin1String("database is locked")) ||
           error.message().contains(QLatin1String("database table is locked"));
}

// Thrown when the program that holds the folder has been asked to show its window instead.
struct HandedOver {};

[[noreturn]] void inUse(const QString& path) {
    throw StartUpError(QStringLiteral("The user database %1 in the folder %2 is in use by another "
                                      "program.")
                           .arg(nameOf(path), folderOf(path)) +
                       paragraph +
                       QStringLiteral("Close that program, then start Dorvane Quillon again."));
}

} // namespace

std::unique_ptr<InstanceLock> StartUp::claimFolder(const AppFolder& folder) {
    auto lock = std::make_unique<InstanceLock>(folder.path());
    switch (lock->tryAcquire()) {
    case InstanceLock::Outcome::Acquired:
        return lock;
    case InstanceLock::Outcome::HeldElsewhere: {
        QString where;
        const auto holder = lock->holder();
        if (holder && !holder->hostName.isEmpty() &&
            holder->hostName.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
            where = QStringLiteral(" on the computer %1").arg(holder->hostName);
        // On this computer, the running program is asked to show its window instead.
        else if (lock->requestActivation())
            throw HandedOver{};
        throw StartUpError(
            QStringLiteral("Dorvane Quillon is already running from %1%2.")
                .arg(native(folder.path()), where) +
            paragraph +
            QStringLiteral("Only one copy of the program can work with the files of a folder at "
                           "a time: use the window that is open."));
    }
    case InstanceLock::Outcome::NotOurs:
        throw StartUpError(
            QStringLiteral("The file %1 in the Application folder %2 is a link to another file, "
                           "or not Dorvane Quillon's own file, so the program won't write to it.")
                .arg(InstanceLock::fileName(), native(folder.path())) +
            paragraph +
            QStringLiteral("Remove %1 from that folder, then start Dorvane Quillon again. Nothing "
                           "has been changed.")
                .arg(InstanceLock::fileName()));
    case InstanceLock::Outcome::CantWrite:
        break;
    }
    const int error = lock->error();
    if (error == ENOSPC || error == EDQUOT)
        throw StartUpError(
            QStringLiteral("The Application folder %1 can't be written: the disk is full, so "
                           "Dorvane Quillon can't make its file %2 there.")
                .arg(native(folder.path()), InstanceLock::fileName()) +
            paragraph +
            QStringLiteral("Make room on the disk, then start Dorvane Quillon again. Nothing has "
                           "been changed."));
    throw StartUpError(
        QStringLiteral("The Application folder %1 can't be written (Dorvane Quillon can't make its "
                       "file %2 there), so the program can't keep your orders, prices and "
                       "addresses in it.")
            .arg(native(folder.path()), InstanceLock::fileName()) +
        paragraph + QStringLiteral("Nothing has been changed."));
}

void StartUp::checkFiles(const AppFolder& folder) {
    requireFolder(folder);
    requireReadableFile(folder.catalogue(), QStringLiteral("catalogue database"));
    if (QFileInfo::exists(folder.userDatabase()))
        checkUserDatabase(folder);
    else
        requireReadableFile(folder.userTemplate(), QStringLiteral("empty user database"));
}

void StartUp::checkUserDatabase(const AppFolder& folder) {
    const QString path = folder.userDatabase();
    requireReadableFile(path, QStringLiteral("user database"));
    // Not a store at all (garbage, an empty file): the engine isn't let near it.
    if (!Database::hasStoreFormat(path))
        damaged(folder, QStringLiteral("the file is not a store file."));
    if (!isWritableFile(path))
        throw StartUpError(
            QStringLiteral("The user database %1 in the folder %2 can't be written: the file is "
                           "read-only.")
                .arg(nameOf(path), folderOf(path)) +
            paragraph +
            QStringLiteral("Dorvane Quillon keeps your orders, prices and addresses in this file, "
                           "so it won't start until the file can be written. Nothing has been "
                           "changed."));

    // A store file: the engine opens it (finishing any change a crash interrupted) and checks
    // every page of it and the tables the program needs.
    try {
        const auto db = Database::open(path, Database::Access::ReadWrite);
        const QStringList problems = db->integrityCheck();
        if (!problems.isEmpty())
            damaged(folder, problems.first());
        for (const char* table : {"orders", "orderParts", "customParts", "orderCompanyDetails",
                                  "deliveryCompanyDetails"}) {
            const QString name = QString::fromLatin1(table);
            try {
                (void)db->openRecordset(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(name));
            } catch (const StoreError&) {
                damaged(folder, QStringLiteral("the table %1 is missing.").arg(name));
            }
        }
    } catch (const StoreError& error) {
        if (isLockedByAnother(error))
            inUse(path);
        damaged(folder, error.message());
    }
}

bool StartUp::createUserDatabase(const AppFolder& folder) {
    const QString target = folder.userDatabase();
    if (QFileInfo::exists(target))
        return false;
    const QString source = folder.userTemplate();
    QFile templateFile(source);
    if (!templateFile.copy(target)) {
        const QString reason = templateFile.errorString();
        QFile::remove(target);
        throw StartUpError(QStringLiteral("The empty user database %1 could not be copied to %2 "
                                          "in the folder %3: %4")
                               .arg(nameOf(source), nameOf(target), folderOf(target), reason));
    }
    // A copy keeps the template's permissions; the user database must be writable.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return true;
}

std::unique_ptr<Database> StartUp::openStore(const QString& path, Database::Access access) {
    try {
        return Database::open(path, access);
    } catch (const StoreError& error) {
        throw StartUpError(QStringLiteral("The file %1 in the folder %2 could not be opened.\r\n"
                                          "\r\n%3")
                               .arg(nameOf(path), folderOf(path), error.message()));
    }
}

std::unique_ptr<MainWindow> StartUp::start(ProgramState& state, Dialogs& dialogs, Browser& browser,
                                           const AppFolder& folder,
                                           const std::function<void()>& prepareFolder,
                                           bool* handedOver) {
    QString problem;
    try {
        requireFolder(folder);
        // The folder is claimed before anything in it is made or repaired. A later start's request
        // to show the window waits for the window: no event is taken before it is there.
        std::unique_ptr<InstanceLock> lock = claimFolder(folder);
        lock->acceptActivationRequests();
        if (prepareFolder)
            prepareFolder();
        auto window = std::make_unique<MainWindow>(state, dialogs, browser, folder);
        // The claim on the folder lasts as long as the window, which a later start on the
        // folder brings to the front (or the modal window over it), also while the load shows
        // the order it takes up.
        QObject::connect(lock.get(), &InstanceLock::activationRequested, window.get(),
                         [shown = window.get()] {
                             if (shown->isMinimized())
                                 shown->showNormal();
                             QWidget* top = QApplication::activeModalWidget();
                             top = top ? top : shown;
                             top->raise();
                             top->activateWindow();
                         });
        window->Form_Load();
        lock->setParent(window.get());
        (void)lock.release();
        return window;
    } catch (const HandedOver&) {
        if (handedOver)
            *handedOver = true;
        return nullptr;
    } catch (const StartUpError& error) {
        problem = error.message();
    } catch (const AppFolderError& error) {
        problem = error.message();
    } catch (const StoreError& error) {
        problem = error.message();
    } catch (const std::exception& error) {
        problem = QString::fromLocal8Bit(error.what());
    }
    qWarning().noquote() << "Dorvane Quillon can't start:" << problem;
    dialogs.messageBox(problem, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, failureTitle());
    return nullptr;
}

} // namespace quillon
