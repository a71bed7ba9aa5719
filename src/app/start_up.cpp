#include "app/start_up.h"

#include "app/folder_claim.h"
#include "app/main_window.h"
#include "catalogue/part_search_frames.h"
#include "catalogue/search_results_frame.h"
#include "housekeeping/user_data_backup.h"
#include "orders/order_lifecycle.h"
#include "platform/app_folder.h"
#include "platform/app_folder_error.h"
#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "session/program_state.h"
#include "store/locale_formats.h"
#include "store/schema.h"
#include "store/shown_path.h"
#include "store/store_error.h"
#include "store/store_recovery.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace quillon {

namespace {

const QString paragraph = QStringLiteral("\r\n\r\n");

QString folderOf(const QString& path) {
    return shownPath(QFileInfo(path).absolutePath());
}

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

void requireFolder(const AppFolder& folder) {
    if (!QFileInfo(folder.path()).isDir())
        throw StartUpError(QStringLiteral("The Application folder %1 doesn't exist.")
                               .arg(shownPath(folder.path())));
}

const QString nothingChanged = QStringLiteral("Dorvane Quillon has not changed anything.");

// Whether anything stands at the path, a link that leads nowhere included.
bool standsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// What a thing that is neither a file nor a folder is, for a person.
QString specialKind(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode))
            return QStringLiteral("a named pipe (FIFO)");
        if (S_ISSOCK(status.st_mode))
            return QStringLiteral("a socket");
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
            return QStringLiteral("a device");
    }
    return QStringLiteral("a special file");
}

// Why the program can't read the file, or empty when it can: the system must let it open the
// file, and the file mustn't be marked unreadable for everyone (a mark that even an
// administrator, whom the system lets read anything, means to be kept).
QString whyUnreadable(const QString& path) {
    constexpr auto anyRead =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!(QFile::permissions(path) & anyRead))
        return QStringLiteral("its permissions let no one read it");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
}

// Requires a readable regular file at the path, or a link to one. Says what stands there
// instead, and where a link points; opens nothing but a regular file (opening a named pipe
// would wait for a writer) and changes nothing.
void requireReadableFile(const QString& path, const QString& role) {
    const QFileInfo info(path);
    if (!standsAt(path))
        throw StartUpError(QStringLiteral("The %1 %2 is missing from the folder %3.")
                               .arg(role, nameOf(path), folderOf(path)));
    QString subject =
        QStringLiteral("The %1 %2 in the folder %3 ").arg(role, nameOf(path), folderOf(path));
    if (info.isSymLink()) {
        subject += QStringLiteral("is a link to %1, which ").arg(shownPath(info.symLinkTarget()));
        if (!info.exists())
            throw StartUpError(subject +
                               QStringLiteral("doesn't exist: is the drive or network folder it "
                                              "leads to connected?") +
                               paragraph + nothingChanged);
    }
    QString problem;
    if (info.isDir())
        problem = QStringLiteral("is a folder, not a file.");
    else if (!info.isFile())
        problem = QStringLiteral("is %1, not a file.").arg(specialKind(path));
    else if (const QString why = whyUnreadable(path); !why.isEmpty())
        problem = QStringLiteral("can't be read: %1.").arg(why);
    if (!problem.isEmpty())
        throw StartUpError(subject + problem + paragraph + nothingChanged);
}

// The engine opens files of paths up to a length: a folder deeper than that can't hold the
// stores, however sound they are.
void requireShortEnoughPath(const AppFolder& folder) {
    for (const QString& path : {folder.catalogue(), folder.userDatabase()}) {
        const qsizetype length = Database::pathLength(path);
        if (length <= Database::longestPath())
            continue;
        throw StartUpError(
            QStringLiteral("The path of the Application folder %1 is too long: the path of %2 in "
                           "it is %3 bytes long, and the database engine opens files of paths up "
                           "to %4 bytes.")
                .arg(shownPath(folder.path()), nameOf(path))
                .arg(length)
                .arg(Database::longestPath()) +
            paragraph +
            QStringLiteral("Move the folder to a place with a shorter path, then start Dorvane "
                           "Quillon again. ") +
            nothingChanged);
    }
}

// Writes a regular file whole through the program's one writer (a link at the path is replaced,
// never written through). Unless replace is set, anything standing at the path stays and the
// write fails. Empty when done, else why not.
QString writeRegularFile(const QString& path, const QByteArray& content,
                         QFileDevice::Permissions permissions, bool replace) {
    return SafeFileWriter::writeWhole(path, content, permissions,
                                      replace ? SafeFileWriter::Existing::Replace
                                              : SafeFileWriter::Existing::Keep);
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

QString damagedMessage(const AppFolder& folder, const QString& reason) {
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
    // Left by a start cut short while the engine finished an interrupted change in the file.
    const QString kept = StoreRecovery::keptCopyName(QFileInfo(user).canonicalFilePath());
    if (QFileInfo(kept).isFile())
        message += QStringLiteral(" The file as it was before the last interrupted change in it "
                                  "was finished is kept as %1.")
                       .arg(nameOf(kept));
    message += paragraph + UserDataBackup::restoreNotice() + paragraph +
               QStringLiteral("What is wrong: %1").arg(reason);
    return message;
}

[[noreturn]] void damaged(const AppFolder& folder, const QString& reason) {
    throw StartUpError(damagedMessage(folder, reason));
}

// The engine's words for a store that another program has locked.
bool isLockedByAnother(const StoreError& error) {
    return error.message().contains(QLatin1String("database is locked")) ||
           error.message().contains(QLatin1String("database table is locked"));
}

[[noreturn]] void inUse(const QString& path) {
    throw StartUpError(QStringLiteral("The user database %1 in the folder %2 is in use by another "
                                      "program.")
                           .arg(nameOf(path), folderOf(path)) +
                       paragraph +
                       QStringLiteral("Close that program, then start Dorvane Quillon again."));
}

// What is wrong with the user database as the engine finds it (finishing any change a crash
// interrupted): every page, and the tables and columns the program uses. Empty when it is sound.
QString userStoreFault(const QString& path) {
    try {
        const auto db = Database::open(path, Database::Access::ReadWrite);
        // The first thing the check found (its report may run to many lines).
        QStringList problems = db->integrityCheck().join(u'\n').split(u'\n', Qt::SkipEmptyParts);
        problems.removeIf([](const QString& line) { return line.startsWith(u"***"); });
        if (!problems.isEmpty())
            return problems.first();
        return Schema::whatUserDatabaseLacks(*db);
    } catch (const StoreError& error) {
        if (isLockedByAnother(error))
            inUse(path);
        return error.message();
    }
}

// The program must never seem to save what it can't: a read-only user database stops the start.
void requireWritableUserDatabase(const QString& path) {
    if (isWritableFile(path))
        return;
    throw StartUpError(
        QStringLiteral("The user database %1 in the folder %2 can't be written: the file is "
                       "read-only.")
            .arg(nameOf(path), folderOf(path)) +
        paragraph +
        QStringLiteral("Dorvane Quillon keeps your orders, prices and addresses in this file, "
                       "so it won't start until the file can be written. Nothing has been "
                       "changed."));
}

// A journal that an interrupted change left beside the file goes through the store's recovery
// step, which checks the file as a user database once the change is undone, and sets aside a
// journal that doesn't belong to the file (a backup copied over it by hand).
StoreRecovery::Outcome recoverUserDatabase(const QString& path) {
    try {
        return StoreRecovery::recover(
            path, [](Database& db) { return Schema::whatUserDatabaseLacks(db); });
    } catch (const StoreError& error) {
        if (isLockedByAnother(error))
            inUse(path);
        throw StartUpError(QStringLiteral("The user database %1 in the folder %2 was left "
                                          "mid-change, and the change could not be undone.")
                               .arg(nameOf(path), folderOf(path)) +
                           paragraph + error.message());
    }
}

// What the start did with a journal that doesn't belong to the user database, for the message
// that stops it.
QString strayJournalMessage(const QString& path, const StoreRecovery::Outcome& recovery) {
    const bool larger = recovery.kind == StoreRecovery::Outcome::Kind::JournalOfLarger;
    return QStringLiteral("The user database %1 in the folder %2 had beside it the journal of an "
                          "interrupted change, %3, that doesn't belong to it (as when a backup has "
                          "been copied over %1 by hand): %4")
               .arg(nameOf(path), folderOf(path), nameOf(recovery.journal),
                    larger ? QStringLiteral("it was written for a larger file, and finishing the "
                                            "change from it would have damaged the file.")
                           : QStringLiteral("finishing the change from it damaged the file (%1).")
                                 .arg(recovery.damage)) +
           paragraph +
           (larger ? QStringLiteral("Dorvane Quillon has left %1 exactly as it was")
                   : QStringLiteral("Dorvane Quillon has put %1 back exactly as it was"))
               .arg(nameOf(path)) +
           QStringLiteral(", and moved the journal aside as %1.").arg(nameOf(recovery.setAsideAs)) +
           paragraph;
}

} // namespace

void StartUp::checkFiles(const AppFolder& folder) {
    requireFolder(folder);
    requireShortEnoughPath(folder);
    const QString catalogue = folder.catalogue();
    requireReadableFile(catalogue, QStringLiteral("catalogue database"));
    const QString lacking =
        Schema::whatCatalogueLacks(*openStore(catalogue, Database::Access::ReadOnly));
    if (!lacking.isEmpty())
        throw StartUpError(QStringLiteral("The catalogue database %1 in the folder %2 can't be "
                                          "used: %3")
                               .arg(nameOf(catalogue), folderOf(catalogue), lacking) +
                           paragraph +
                           QStringLiteral("Install the catalogue that came with Dorvane Quillon "
                                          "again. ") +
                           nothingChanged);
    if (standsAt(folder.userDatabase()))
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
    requireWritableUserDatabase(path);

    const StoreRecovery::Outcome recovery = recoverUserDatabase(path);
    switch (recovery.kind) {
    case StoreRecovery::Outcome::Kind::Nothing:
        if (const QString fault = userStoreFault(path); !fault.isEmpty())
            damaged(folder, fault);
        return;
    case StoreRecovery::Outcome::Kind::Undone:
        return;
    case StoreRecovery::Outcome::Kind::JournalOfLarger:
    case StoreRecovery::Outcome::Kind::JournalDamagedFile:
        break;
    }
    const QString message = strayJournalMessage(path, recovery);
    if (!recovery.faultNow.isEmpty())
        throw StartUpError(message + damagedMessage(folder, recovery.faultNow));
    throw StartUpError(message + QStringLiteral("%1 is sound as it is: start Dorvane Quillon again "
                                                "to work with it.")
                                     .arg(nameOf(path)));
}

bool StartUp::createUserDatabase(const AppFolder& folder) {
    const QString target = folder.userDatabase();
    if (standsAt(target))
        return false;
    const QString source = folder.userTemplate();
    QFile templateFile(source);
    QString reason;
    if (!templateFile.open(QIODevice::ReadOnly))
        reason = templateFile.errorString();
    else
        // A copy keeps the template's permissions; the user database must be writable.
        reason = writeRegularFile(target, templateFile.readAll(),
                                  templateFile.permissions() | QFileDevice::WriteOwner, false);
    if (!reason.isEmpty())
        throw StartUpError(QStringLiteral("The empty user database %1 could not be copied to %2 "
                                          "in the folder %3: %4")
                               .arg(nameOf(source), nameOf(target), folderOf(target), reason));
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

void StartUp::Form_Load(MainWindow& window, ProgramState& state, const AppFolder& folder) {
    checkFiles(folder);
    const bool created = createUserDatabase(folder);
    bool catalogueOpen = false;
    try {
        state.catalogueDb = openStore(folder.catalogue(), Database::Access::ReadOnly);
        catalogueOpen = true;
        state.userDb = openStore(folder.userDatabase(), Database::Access::ReadWrite);
    } catch (const StartUpError& error) {
        state.catalogueDb.reset();
        state.userDb.reset();
        if (!created)
            throw;
        QFile::remove(folder.userDatabase()); // the start leaves nothing behind
        if (!catalogueOpen)
            throw;
        // The copy of the template is what failed to open: the template is at fault.
        throw StartUpError(
            QStringLiteral("The empty user database %1 in the folder %2 is not a "
                           "usable store.\r\n\r\n%3")
                .arg(nameOf(folder.userTemplate()), shownPath(folder.path()), error.message()));
    }
    window.partSearch().addVehicles();
    window.searchResults().setUpGrid();
    window.setStatusText(MainWindow::startStatusText());
    window.guard().run(QStringLiteral("take up the open order"),
                       [&window] { OrderLifecycle(window.context()).resumeOpenOrder(); });
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
        std::unique_ptr<InstanceLock> lock = FolderClaim::claim(folder);
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
        Form_Load(*window, state, folder);
        window->restoreLayout();
        lock->setParent(window.get());
        (void)lock.release();
        return window;
    } catch (const FolderClaim::HandedOver&) {
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
