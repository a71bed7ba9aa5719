#pragma once

#include "store/database.h"

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace quillon {

struct ProgramState;
class AppFolder;
class Browser;
class Dialogs;
class MainWindow;

// A start that can't go on: the message names the file and the folder, for the user.
class StartUpError : public std::runtime_error {
public:
    explicit StartUpError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The start of the program up to the window taking input, and the main window's load.
class StartUp final {
public:
    static constexpr int failureExitCode = 1;
    static QString failureTitle() { return QStringLiteral("Dorvane Quillon can't start"); }

    // Claims the Application folder for this run, runs prepareFolder (which completes a
    // per-user folder: nothing in the folder is made or repaired before it is claimed), creates
    // the main window and runs its load. The claim goes with the window, which is brought to the
    // front when a later start on the folder asks. When the folder is in use by another run of
    // the program on this computer, that run is asked to show its window: once it has, returns
    // nothing with *handedOver set and no box. When it doesn't answer, or the load fails, shows
    // an error box that says why (which file in which folder is missing, damaged or can't be
    // written) and returns nothing; the program then exits with failureExitCode, and no file has
    // been created or changed.
    static std::unique_ptr<MainWindow> start(ProgramState& state, Dialogs& dialogs,
                                             Browser& browser, const AppFolder& folder,
                                             const std::function<void()>& prepareFolder = {},
                                             bool* handedOver = nullptr);

    // Checks, before anything is created, that the files the load needs are there and usable:
    // a folder path short enough for the engine, parts.mdb readable with its Parts table, and
    // either user.mdb sound and writable, or systemuserDB.dat readable when nothing stands at
    // user.mdb. Says what stands where a file should be (a link that leads nowhere, a folder, a
    // named pipe). Throws StartUpError; changes no file but for a journal that doesn't belong
    // to user.mdb (see checkUserDatabase).
    static void checkFiles(const AppFolder& folder);
    // The checks of what stands at user.mdb: a readable file that can be written (the program
    // must never seem to save what it can't), a sound user database with every table and column
    // the program uses (else the message points to the backup and how to have it restored), and
    // no other program holding it. When the journal of an interrupted change lies beside it, the
    // file is kept before the engine finishes that change; should the journal not belong to the
    // file (a backup copied over it by hand), the file is put back byte for byte, the journal
    // moved aside, and the message says so. Throws StartUpError; never writes to a damaged file.
    static void checkUserDatabase(const AppFolder& folder);
    // Copies systemuserDB.dat to user.mdb when nothing stands at user.mdb (a link that leads
    // nowhere included), as a new regular file; whatever stands there is never replaced. True
    // when it made the copy. Throws StartUpError (leaving no partial copy).
    static bool createUserDatabase(const AppFolder& folder);
    // The main window's load, once, before it is shown: the user database made from its
    // template when missing, both stores opened (a user database made here is removed again when
    // the stores can't be opened), the vehicle list, the grid header, the status line, and the
    // resumption of an order left open at the last run. Throws StartUpError when a file it needs
    // is missing or can't be opened, having created and changed nothing.
    static void Form_Load(MainWindow& window, ProgramState& state, const AppFolder& folder);
    // Opens one store of the folder. Throws StartUpError naming the file, the folder and the
    // engine's reason.
    static std::unique_ptr<Database> openStore(const QString& path, Database::Access access);
};

} // namespace quillon
