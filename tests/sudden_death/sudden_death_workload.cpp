#include "sudden_death_workload.h"

#include "app/main_window.h"
#include "orders/view_order_window.h"
#include "platform/flex_grid.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/part_key.h"
#include "session/program_state.h"
#include "store/sql_text.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <numeric>
#include <unistd.h>

namespace quillon::tests {

namespace {

using Button = Dialogs::Button;

// Texts with quotes, wildcards, accents and SQL in them, as counter hands type them.
const QStringList texts{
    QString(),
    QStringLiteral("Customer's own van - don't bend"),
    QStringLiteral("\"Urgent\" - per Mr O'Neill"),
    QStringLiteral("Größe prüfen; 50% off? *check* [sic] #12"),
    QStringLiteral("'; DROP TABLE orders; --"),
};

void setBox(QWidget& root, const QString& name, const QString& text) {
    auto* box = root.findChild<QLineEdit*>(name);
    if (box == nullptr)
        throw WorkloadError("no box " + name.toStdString());
    box->selectAll();
    box->insert(text); // as a paste: textEdited and textChanged, like typing
}

} // namespace

SuddenDeathWorkload::SuddenDeathWorkload(MainWindow& window, ProgramState& state,
                                         ScriptedDialogs& dialogs, RecordingBrowser& browser,
                                         const QString& logPath, quint32 seed)
    : window_(window), state_(state), dialogs_(dialogs), browser_(browser), random_(seed),
      fd_(::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                 0644)) {
    if (fd_ < 0)
        throw WorkloadError("can't open the log " + logPath.toStdString());
    for (Recordset parts = state_.catalogueDb->openRecordset(QStringLiteral("SELECT * FROM Parts"));
         !parts.eof(); parts.moveNext()) {
        parts_ << parts.field(u"DorvaneNum").toText();
        rovers_ << parts.field(u"RoverNum").toText();
    }
}

SuddenDeathWorkload::~SuddenDeathWorkload() {
    ::close(fd_);
}

void SuddenDeathWorkload::run() {
    rows_ = StoreDump::read(state_.userDb->handle());
    for (;;) {
        ++step_;
        dialogs_.clearRecords();
        browser_.clear();
        step();
        if (!dialogs_.errors().isEmpty() || dialogs_.pendingAnswers() != 0)
            throw WorkloadError("step " + std::to_string(step_) + ": " +
                                dialogs_.errors().join(u"; ").toStdString());
        for (const ScriptedDialogs::Box& box : dialogs_.boxes()) {
            if (box.prompt.startsWith(u"Could not") || box.prompt.contains(u"NOT copied"))
                throw WorkloadError(box.prompt.toStdString());
        }
        rows_ = StoreDump::read(state_.userDb->handle());
        log("done\t" + QByteArray::number(step_) + '\t' + StoreDump::encode(rows_), true);
    }
}

void SuddenDeathWorkload::step() {
    const qint32 order = state_.orderActive ? state_.currentOrderNum : 0;
    const int lines = int(std::count_if(rows_.keyBegin(), rows_.keyEnd(), [&](const QString& key) {
        return order != 0 && key.startsWith(linePrefix());
    }));
    const int weights[] = {
        order ? 1 : 6, order ? 1 : 0, order ? 10 : 0, lines ? 5 : 0, lines ? 2 : 0, 3, 1};
    int kind = 0;
    for (int draw = pick(std::accumulate(std::begin(weights), std::end(weights), 0));
         draw >= weights[kind]; ++kind)
        draw -= weights[kind];
    const QString thisOrder = QStringLiteral("order:%1").arg(order);
    switch (kind) {
    case 0: // a new order, in place of the open one
        begin(QStringLiteral("newOrder"),
              order ? QStringList{"order:+", thisOrder, linePrefix() + u'*'}
                    : QStringList{"order:+"});
        dialogs_.answerNext(Button::Yes);
        press(window_, QStringLiteral("cmdStartOrder"));
        break;
    case 1:
        begin(QStringLiteral("deleteOrder"), {thisOrder, linePrefix() + u'*'});
        dialogs_.answerNext(Button::Yes);
        window_.findChild<QAction*>(QStringLiteral("mnuDeleteOrder"))->trigger();
        break;
    case 2: { // a part ordered: a new line, or the part's line updated
        const int part = pick(int(parts_.size()));
        const QString find =
            QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = %1 AND %2 = '%3'")
                .arg(order)
                .arg(PartKey::column(rovers_[part]),
                     sqlEscape(PartKey::value(rovers_[part], parts_[part])));
        const Recordset existing = state_.userDb->openRecordset(find);
        begin(QStringLiteral("addLine"),
              {linePrefix() +
               (existing.isEmpty() ? QStringLiteral("+") : existing.field(u"ID").toText())});
        showPart(parts_[part]);
        const int quantity = 1 + pick(40);
        const QString comment = texts[pick(int(texts.size()))];
        answerQuantity(quantity, comment);
        if (!existing.isEmpty())
            dialogs_.answerNext(Button::Yes);
        press(window_, QStringLiteral("cmdOrder"));
        const Recordset line = state_.userDb->openRecordset(find);
        if (line.isEmpty() || line.field(u"Quantity").toInteger() != quantity ||
            line.field(u"Comments").toText() != comment)
            throw WorkloadError("addLine: the line doesn't hold what was typed");
        break;
    }
    case 3: { // a line changed or deleted in View Parts Order
        const bool remove = pick(2) == 0;
        begin(remove ? QStringLiteral("deleteLine") : QStringLiteral("changeLine"),
              {linePrefix() + u'*'});
        const int row = 1 + pick(lines);
        if (!remove)
            answerQuantity(1 + pick(40), texts[pick(int(texts.size()))]);
        dialogs_.onWindow(QStringLiteral("frmViewOrder"), [&](QDialog& window) {
            window.findChild<FlexGrid*>(QStringLiteral("MSFlexGridViewOrder"))
                ->setCurrentCell(row, 1);
            if (static_cast<ViewOrderWindow&>(window).selectedLineId() == 0)
                throw WorkloadError("no line selected");
            if (remove)
                dialogs_.answerNext(Button::Yes);
            press(window, remove ? QStringLiteral("cmdDelete") : QStringLiteral("cmdModify"));
            press(window, QStringLiteral("cmdOK"));
        });
        press(window_, QStringLiteral("cmdViewOrder"));
        break;
    }
    case 4:
        begin(QStringLiteral("finalise"), {thisOrder, "oaddr:*", "daddr:*"});
        dialogs_.answerNext(Button::Yes);
        dialogs_.onWindow(QStringLiteral("frmOptions"),
                          [this](QDialog& window) { press(window, QStringLiteral("cmdOK")); });
        press(window_, QStringLiteral("cmdFinaliseOrder"));
        if (state_.orderActive || browser_.requests().size() != 1)
            throw WorkloadError("finalise: the order was not finalised");
        break;
    case 5: { // a custom price stored
        begin(QStringLiteral("storePrice"), {"custom:*"});
        showPart(parts_[pick(int(parts_.size()))]);
        for (const char* box : {"txtFilePrice", "txtSellingPrice"})
            setBox(window_, QLatin1String(box),
                   QStringLiteral("%1.%2").arg(1 + pick(300)).arg(pick(90) + 10));
        setBox(window_, QStringLiteral("txtUnit"), texts[pick(int(texts.size()))]);
        press(window_, QStringLiteral("cmdEnterFilePrice"));
        if (!window_.statusText().startsWith(u"Custom price"))
            throw WorkloadError("storePrice: " + window_.statusText().toStdString());
        break;
    }
    default:
        begin(QStringLiteral("backup"), {});
        dialogs_.answerNext(Button::Yes);
        window_.findChild<QAction*>(QStringLiteral("mnuBackup"))->trigger();
    }
}

void SuddenDeathWorkload::log(const QByteArray& line, bool sync) {
    // One write per line: a kill leaves at most the last line incomplete.
    const QByteArray bytes = line + '\n';
    if (::write(fd_, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
        (sync && ::fsync(fd_) != 0))
        throw WorkloadError("can't write the log");
}

void SuddenDeathWorkload::begin(const QString& kind, const QStringList& patterns) {
    log((QStringList{QStringLiteral("begin"), QString::number(step_), kind} + patterns)
            .join(u'\t')
            .toUtf8(),
        false);
}

void SuddenDeathWorkload::press(QWidget& root, const QString& name) const {
    auto* button = root.findChild<QPushButton*>(name);
    if (button == nullptr || !button->isEnabled())
        throw WorkloadError("the button " + name.toStdString() + " can't be pressed");
    QTest::mouseClick(button, Qt::LeftButton);
}

void SuddenDeathWorkload::showPart(const QString& dorvaneNum) {
    setBox(window_, QStringLiteral("txtPart"), dorvaneNum);
    press(window_, QStringLiteral("cmdSearchPart"));
    if (state_.selectedDorvaneNum != dorvaneNum)
        throw WorkloadError("the part " + dorvaneNum.toStdString() + " is not shown");
}

void SuddenDeathWorkload::answerQuantity(int quantity, const QString& comment) {
    dialogs_.onWindow(QStringLiteral("frmOrderQuantity"), [=, this](QDialog& dialog) {
        setBox(dialog, QStringLiteral("txtQty"), QString::number(quantity));
        setBox(dialog, QStringLiteral("txtComment"), comment);
        press(dialog, QStringLiteral("cmdOK"));
    });
}

QString SuddenDeathWorkload::linePrefix() const {
    return QStringLiteral("line:%1:").arg(state_.currentOrderNum);
}

} // namespace quillon::tests
