#pragma once

#include "store_dump.h"

#include <QString>
#include <QStringList>
#include <random>
#include <stdexcept>

class QDialog;
class QWidget;

namespace quillon {
struct ProgramState;
class MainWindow;
class RecordingBrowser;
class ScriptedDialogs;
} // namespace quillon

namespace quillon::tests {

class ActionLog;

// A step that did not do what it should: an error box, a box nobody expected, or a store that
// doesn't hold what was typed.
class WorkloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A seeded stream of what a counter hand does, through the real main window and its windows
// with the scripted dialogs answering: new orders, lines added, changed and deleted, orders
// finalised and deleted, custom prices stored and removed, addresses created, edited and deleted,
// backups. Each step is logged before it starts (with the rows it may change) and after it
// returned (with the rows it did change, read back from the store).
class SuddenDeathWorkload final {
public:
    SuddenDeathWorkload(MainWindow& window, ProgramState& state, ScriptedDialogs& dialogs,
                        RecordingBrowser& browser, ActionLog& log, quint32 seed);

    // Runs that many steps. Throws WorkloadError.
    void run(int steps);

private:
    struct CataloguePart {
        QString dorvaneNum;
        QString roverNum;
    };

    QString chooseAndRun();
    void begin(const QString& kind, const QStringList& patterns);
    void checkDialogs(const QString& kind) const;

    // The steps; each returns its kind.
    QString newOrder();
    QString deleteOrder();
    QString addLine();
    QString changeLine();
    QString deleteLine();
    QString changeOrDeleteLine(bool remove);
    QString finalise();
    QString storePrice();
    QString removePrice();
    QString editAddresses();
    QString backup();

    // Shows the part in Part Detail through a part-number search.
    void showPart(const CataloguePart& part);
    void click(const QString& buttonName);
    void trigger(const QString& actionName);
    void answerQuantity(const QString& quantity, const QString& comment);
    [[nodiscard]] QStringList entities(const QString& prefix) const;
    [[nodiscard]] int pick(int count);
    [[nodiscard]] bool chance(int percent);
    [[nodiscard]] QString randomComment();
    [[nodiscard]] QString orderPrefix() const;

    MainWindow& window_;
    ProgramState& state_;
    ScriptedDialogs& dialogs_;
    RecordingBrowser& browser_;
    ActionLog& log_;
    std::mt19937 random_;
    QList<CataloguePart> parts_;
    StoreDump::Rows rows_; // the store as the last step left it
    int step_ = 0;
    bool begun_ = false;
    QStringList patterns_; // the rows the step in progress may change
};

} // namespace quillon::tests
