#pragma once

#include "store/database.h"

#include <QString>
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

// The start of the program up to the window taking input, and the file steps of the main
// window's load.
class StartUp final {
public:
    static constexpr int failureExitCode = 1;
    static QString failureTitle() { return QStringLiteral("Dorvane Quillon can't start"); }

    // Creates the main window and runs its load. When the load fails, shows an error box that
    // says which file in which folder is missing or can't be opened and returns nothing; the
    // program then exits with failureExitCode, and no file has been created or changed.
    static std::unique_ptr<MainWindow> start(ProgramState& state, Dialogs& dialogs,
                                             Browser& browser, const AppFolder& folder);

    // Checks, before anything is created, that the files the load needs are there and readable:
    // parts.mdb, and systemuserDB.dat when user.mdb is missing. Throws StartUpError.
    static void checkFiles(const AppFolder& folder);
    // Copies systemuserDB.dat to user.mdb when user.mdb is missing; an existing user.mdb is
    // never replaced. True when it made the copy. Throws StartUpError (leaving no partial copy).
    static bool createUserDatabase(const AppFolder& folder);
    // Opens one store of the folder. Throws StartUpError naming the file, the folder and the
    // engine's reason.
    static std::unique_ptr<Database> openStore(const QString& path, Database::Access access);
};

} // namespace quillon
