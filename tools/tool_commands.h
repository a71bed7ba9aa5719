#pragma once

#include "store/store_recovery.h"

#include <QStringList>
#include <QTextStream>

namespace quillon {

class Database;

// The commands of quillon-db. Each takes the arguments after its name, writes its result to out
// and its faults to err, and returns the exit status: 0 done, 1 failed, 2 bad arguments.
class ToolCommands final {
public:
    enum Status { Done = 0, Failed = 1, BadArguments = 2 };

    ToolCommands(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}

    // Runs the command named by arguments[0] (the program's arguments without its own name).
    int run(const QStringList& arguments);

    // Whether a command draws pictures and so needs a QGuiApplication.
    [[nodiscard]] static bool needsGui(const QStringList& arguments);
    [[nodiscard]] static QString usage();

private:
    int demoCatalogue(const QStringList& arguments);
    int importCatalogue(const QStringList& arguments);
    int makeUserTemplate(const QStringList& arguments);
    int query(const QStringList& arguments);
    int check(const QStringList& arguments);
    int makeAssets(const QStringList& arguments);
    int restoreUserData(const QStringList& arguments);
    // Removes what stopped runs left in the folder, and says so.
    void reportLeftovers(const QString& command, const QString& folder);
    int badArguments(const QString& problem);
    // Tells on stderr what opening the store found beside it and did (a change an interrupted
    // update had left undone, a journal that doesn't belong to the file set aside).
    void noteUndoneChange(const Database& db);
    void reportRecovery(const StoreRecovery::Outcome& outcome);

    QTextStream& out_;
    QTextStream& err_;
};

} // namespace quillon
