#pragma once

#include "store_dump.h"

#include <QString>
#include <QStringList>
#include <random>
#include <stdexcept>

class QWidget;

namespace quillon {
struct ProgramState;
class MainWindow;
class RecordingBrowser;
class ScriptedDialogs;
} // namespace quillon

namespace quillon::tests {

// A step that did not do what it should: an error box, or a store that doesn't hold what was typed.
class WorkloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A seeded stream of what a counter hand does, through the real main window with the scripted
// dialogs answering: orders started, deleted and finalised, lines added, changed and deleted,
// custom prices, backups. Each step is logged before it starts, with the rows it may
// change ("begin <step> <kind> <pattern>..."), and after it returned, with the whole store as it
// then was ("done <step> <dump>", synced to the disk). A pattern is a row ("order:7"), a prefix
// and "*" for every row it starts, or a prefix and "+" for a row new to the store.
class SuddenDeathWorkload final {
public:
    // Throws WorkloadError when the log can't be opened.
    SuddenDeathWorkload(MainWindow& window, ProgramState& state, ScriptedDialogs& dialogs,
                        RecordingBrowser& browser, const QString& logPath, quint32 seed);
    ~SuddenDeathWorkload();
    SuddenDeathWorkload(const SuddenDeathWorkload&) = delete;
    SuddenDeathWorkload& operator=(const SuddenDeathWorkload&) = delete;

    // Runs steps until it is killed. Throws WorkloadError.
    [[noreturn]] void run();

private:
    void step();
    void log(const QByteArray& line, bool sync);
    void begin(const QString& kind, const QStringList& patterns);
    void press(QWidget& root, const QString& name) const;
    void showPart(const QString& dorvaneNum);
    void answerQuantity(int quantity, const QString& comment);
    [[nodiscard]] int pick(int count) { return int(random_() % quint32(count)); }
    [[nodiscard]] QString linePrefix() const;

    MainWindow& window_;
    ProgramState& state_;
    ScriptedDialogs& dialogs_;
    RecordingBrowser& browser_;
    std::mt19937 random_;
    QStringList parts_; // DorvaneNum of the catalogue's parts
    QStringList rovers_;
    StoreDump::Rows rows_; // as the last step left the store
    int step_ = 0;
    int fd_ = -1;
};

} // namespace quillon::tests
