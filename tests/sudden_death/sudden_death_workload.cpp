// The sudden-death driver, "sudden-death-driver DIR SEED LOG": the real main window on an
// Application folder, offscreen, with the scripted dialogs answering, running a seeded stream of
// what a counter hand does (orders started, deleted and finalised, lines added, changed and
// deleted, backups) until it is killed. It prints "ready" once the window has started, and logs
// each step before it starts, with the rows it may change ("begin <step> <kind> <pattern>..."; a
// pattern is a row such as "order:7", a prefix and "*" for every row it starts, or a prefix and
// "+" for a row new to the store), and after it returned, with the whole store as it then was
// ("done <step> <dump>", synced to the disk). Exit codes: 2 the program could not start, 3 a step
// went wrong (an error box, a button that can't be pressed; the reason on stderr), 64 bad
// arguments.
#include "app/main_window.h"
#include "orders/view_order_window.h"
#include "platform/flex_grid.h"
#include "program_run.h"
#include "store_dump.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <numeric>
#include <random>
#include <stdexcept>
#include <unistd.h>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::ProgramRun;
using quillon::tests::StoreDump;
using Button = Dialogs::Button;

namespace {

// Texts with quotes, wildcards, accents and SQL in them, as counter hands type them.
const QStringList texts{
    QString(), u"Customer's own van - don't bend"_s, u"\"Urgent\" - per Mr O'Neill"_s,
    u"Größe prüfen; 50% off? *check* [sic] #12"_s, u"'; DROP TABLE orders; --"_s};

void setBox(QWidget& root, const QString& name, const QString& text) {
    auto* box = root.findChild<QLineEdit*>(name);
    if (box == nullptr)
        throw std::runtime_error("no box " + name.toStdString());
    box->selectAll();
    box->insert(text); // as a paste: textEdited and textChanged, like typing
}

void press(QWidget& root, const QString& name) {
    auto* button = root.findChild<QPushButton*>(name);
    if (button == nullptr || !button->isEnabled())
        throw std::runtime_error("the button " + name.toStdString() + " can't be pressed");
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class SuddenDeathWorkload {
public:
    SuddenDeathWorkload(ProgramRun& program, const QString& logPath, quint32 seed)
        : p_(program), random_(seed),
          fd_(::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644)) {
        for (Recordset parts = p_.state.catalogueDb->openRecordset(u"SELECT * FROM Parts"_s);
             !parts.eof(); parts.moveNext()) {
            parts_ << parts.field(u"DorvaneNum").toText();
        }
    }

    [[noreturn]] void run() {
        rows_ = StoreDump::read(p_.state.userDb->handle());
        for (;;) {
            ++step_;
            p_.dialogs.clearRecords();
            p_.browser.clear();
            step();
            QStringList wrong = p_.dialogs.errors();
            for (const ScriptedDialogs::Box& box : p_.dialogs.boxes()) {
                if (box.prompt.startsWith(u"Could not") || box.prompt.contains(u"NOT copied"))
                    wrong << box.prompt;
            }
            if (!wrong.isEmpty() || p_.dialogs.pendingAnswers() != 0)
                throw std::runtime_error("step " + std::to_string(step_) + ": " +
                                         wrong.join(u"; ").toStdString());
            rows_ = StoreDump::read(p_.state.userDb->handle());
            log("done\t" + QByteArray::number(step_) + '\t' + StoreDump::encode(rows_), true);
        }
    }

private:
    void step() {
        const qint32 order = p_.state.orderActive ? p_.state.currentOrderNum : 0;
        const int lines =
            int(std::count_if(rows_.keyBegin(), rows_.keyEnd(), [&](const QString& key) {
                return order != 0 && key.startsWith(linePrefix());
            }));
        const int weights[] = {order ? 1 : 6, order ? 1 : 0, order ? 10 : 0,
                               lines ? 5 : 0, lines ? 2 : 0, 1};
        int kind = 0;
        for (int draw = pick(std::accumulate(std::begin(weights), std::end(weights), 0));
             draw >= weights[kind]; ++kind)
            draw -= weights[kind];
        const QString thisOrder = u"order:%1"_s.arg(order);
        switch (kind) {
        case 0: // a new order, in place of the open one
            begin(u"newOrder"_s, order ? QStringList{u"order:+"_s, thisOrder, linePrefix() + u'*'}
                                       : QStringList{u"order:+"_s});
            p_.dialogs.answerNext(Button::Yes);
            press(*p_.window, u"cmdStartOrder"_s);
            break;
        case 1:
            begin(u"deleteOrder"_s, {thisOrder, linePrefix() + u'*'});
            p_.dialogs.answerNext(Button::Yes);
            p_.window->findChild<QAction*>(u"mnuDeleteOrder"_s)->trigger();
            break;
        case 2: { // a part ordered: a new line, or the part's line updated
            const int part = pick(int(parts_.size()));
            const QString cell = QChar(0x1f) + u"3"_s + parts_[part] + QChar(0x1f);
            const bool ordered =
                std::any_of(rows_.keyValueBegin(), rows_.keyValueEnd(), [&](auto row) {
                    return row.first.startsWith(linePrefix()) && row.second.contains(cell);
                });
            begin(u"addLine"_s, {linePrefix() + u'*'});
            showPart(parts_[part]);
            answerQuantity(1 + pick(40), texts[pick(int(texts.size()))]);
            if (ordered)
                p_.dialogs.answerNext(Button::Yes);
            press(*p_.window, u"cmdOrder"_s);
            break;
        }
        case 3: { // a line changed or deleted in View Parts Order
            const bool remove = pick(2) == 0;
            begin(remove ? u"deleteLine"_s : u"changeLine"_s, {linePrefix() + u'*'});
            const int row = 1 + pick(lines);
            if (!remove)
                answerQuantity(1 + pick(40), texts[pick(int(texts.size()))]);
            p_.dialogs.onWindow(u"frmViewOrder"_s, [&](QDialog& window) {
                window.findChild<FlexGrid*>(u"MSFlexGridViewOrder"_s)->setCurrentCell(row, 1);
                if (static_cast<ViewOrderWindow&>(window).selectedLineId() == 0)
                    throw std::runtime_error("no line selected");
                if (remove)
                    p_.dialogs.answerNext(Button::Yes);
                press(window, remove ? u"cmdDelete"_s : u"cmdModify"_s);
                press(window, u"cmdOK"_s);
            });
            press(*p_.window, u"cmdViewOrder"_s);
            break;
        }
        case 4:
            begin(u"finalise"_s, {thisOrder, u"oaddr:*"_s, u"daddr:*"_s});
            p_.dialogs.answerNext(Button::Yes);
            p_.dialogs.onWindow(u"frmOptions"_s,
                                [this](QDialog& window) { press(window, u"cmdOK"_s); });
            press(*p_.window, u"cmdFinaliseOrder"_s);
            if (p_.state.orderActive || p_.browser.requests().size() != 1)
                throw std::runtime_error("finalise: the order was not finalised");
            break;
        default:
            begin(u"backup"_s, {});
            p_.dialogs.answerNext(Button::Yes);
            p_.window->findChild<QAction*>(u"mnuBackup"_s)->trigger();
        }
    }

    void log(const QByteArray& line, bool sync) {
        // One write per line: a kill leaves at most the last line incomplete.
        const QByteArray bytes = line + '\n';
        if (::write(fd_, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            (sync && ::fsync(fd_) != 0))
            throw std::runtime_error("can't write the log");
    }

    void begin(const QString& kind, const QStringList& patterns) {
        log((QStringList{u"begin"_s, QString::number(step_), kind} + patterns).join(u'\t').toUtf8(),
            false);
    }

    void showPart(const QString& dorvaneNum) {
        setBox(*p_.window, u"txtPart"_s, dorvaneNum);
        press(*p_.window, u"cmdSearchPart"_s);
        if (p_.state.selectedPart.dorvaneNum != dorvaneNum)
            throw std::runtime_error("the part " + dorvaneNum.toStdString() + " is not shown");
    }

    void answerQuantity(int quantity, const QString& comment) {
        p_.dialogs.onWindow(u"frmOrderQuantity"_s, [=](QDialog& dialog) {
            setBox(dialog, u"txtQty"_s, QString::number(quantity));
            setBox(dialog, u"txtComment"_s, comment);
            press(dialog, u"cmdOK"_s);
        });
    }

    int pick(int count) { return int(random_() % quint32(count)); }
    QString linePrefix() const { return u"line:%1:"_s.arg(p_.state.currentOrderNum); }

    ProgramRun& p_;
    std::mt19937 random_;
    int fd_;
    QStringList parts_;    // DorvaneNum of the catalogue's parts
    StoreDump::Rows rows_; // as the last step left the store
    int step_ = 0;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    bool seedOk = false;
    const quint32 seed = arguments.value(2).toUInt(&seedOk);
    if (arguments.size() != 4 || !seedOk) {
        std::fputs("usage: sudden-death-driver DIR SEED LOG\n", stderr);
        return 64;
    }
    ProgramRun program;
    if (!program.startShown(AppFolder(arguments[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(program.onlyPrompt()));
        return 2;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    try {
        SuddenDeathWorkload(program, arguments[3], seed).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sudden-death-driver (seed %u): %s\n", seed, error.what());
        return 3;
    }
}
