#include "sudden_death_workload.h"

#include "action_log.h"
#include "app/main_window.h"
#include "orders/view_order_window.h"
#include "platform/app_folder.h"
#include "platform/flex_grid.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/part_key.h"
#include "session/program_state.h"
#include "store/sql_text.h"

#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quillon::tests {

namespace {

using Button = Dialogs::Button;

void press(QWidget& root, const QString& name) {
    auto* button = root.findChild<QPushButton*>(name);
    if (button == nullptr)
        throw WorkloadError("no button " + name.toStdString());
    if (!button->isEnabled())
        throw WorkloadError("the button " + name.toStdString() + " is disabled");
    QTest::mouseClick(button, Qt::LeftButton);
}

void setBox(QWidget& root, const QString& name, const QString& text) {
    auto* box = root.findChild<QLineEdit*>(name);
    if (box == nullptr)
        throw WorkloadError("no box " + name.toStdString());
    box->selectAll();
    box->insert(text); // as a paste: textEdited and textChanged, like typing
}

// The columns of a dumped row.
QStringList columnsOf(const QString& value) {
    return value.split(QChar(0x1f));
}

QString textColumn(const QString& value, int column) {
    const QStringList columns = columnsOf(value);
    return column < columns.size() && columns[column].startsWith(u't') ? columns[column].mid(1)
                                                                       : QString();
}

const QStringList comments{
    QString(),
    QStringLiteral("Fit before Friday"),
    QStringLiteral("Customer's own van - don't bend"),
    QStringLiteral("\"Urgent\" - per Mr O'Neill"),
    QStringLiteral("Größe prüfen; ask for Zoë"),
    QStringLiteral("50% off? *check* [sic] #12"),
    QStringLiteral("'; DROP TABLE orders; --"),
};

const QStringList units{QStringLiteral("each"), QStringLiteral("pair"), QStringLiteral("box of 10"),
                        QStringLiteral("set"), QStringLiteral("Kit (O'Hara)")};

const QStringList addressTexts{
    QStringLiteral("Unit 4, Mill Lane"),
    QStringLiteral("St. Mary's Yard"),
    QStringLiteral("Château d'Eau"),
    QStringLiteral("01632 960123"),
    QStringLiteral("AB1 2CD"),
    QStringLiteral("\"The Old Forge\""),
    QString(),
};

} // namespace

SuddenDeathWorkload::SuddenDeathWorkload(MainWindow& window, ProgramState& state,
                                         ScriptedDialogs& dialogs, RecordingBrowser& browser,
                                         ActionLog& log, quint32 seed)
    : window_(window), state_(state), dialogs_(dialogs), browser_(browser), log_(log),
      random_(seed) {
    Recordset parts =
        state_.catalogueDb->openRecordset(QStringLiteral("SELECT * FROM Parts ORDER BY ID ASC"));
    for (; !parts.eof(); parts.moveNext())
        parts_.append({parts.field(u"DorvaneNum").toText(), parts.field(u"RoverNum").toText()});
    if (parts_.isEmpty())
        throw WorkloadError("the catalogue has no parts");
}

void SuddenDeathWorkload::run(int steps) {
    rows_ = StoreDump::read(state_.userDb->handle());
    for (step_ = 1; step_ <= steps; ++step_) {
        dialogs_.clearRecords();
        browser_.clear();
        begun_ = false;
        const QString kind = chooseAndRun();
        if (!begun_)
            throw WorkloadError("the step " + kind.toStdString() + " was not logged");
        checkDialogs(kind);
        StoreDump::Rows after = StoreDump::read(state_.userDb->handle());
        const QList<StoreDump::Change> changes = StoreDump::diff(rows_, after);
        // A step changes only the rows it said it might.
        for (const StoreDump::Change& change : changes) {
            bool allowed = false;
            for (const QString& pattern : patterns_)
                allowed = allowed ||
                          ActionLog::matches(pattern, change.entity, rows_.contains(change.entity));
            if (!allowed)
                throw WorkloadError(kind.toStdString() + " changed " + change.entity.toStdString());
        }
        log_.done(step_, kind, changes);
        rows_ = std::move(after);
    }
}

QString SuddenDeathWorkload::chooseAndRun() {
    const bool active = state_.orderActive;
    const bool lines = active && !entities(orderPrefix()).isEmpty();
    const bool addresses = !entities(QStringLiteral("oaddr:")).isEmpty() &&
                           !entities(QStringLiteral("daddr:")).isEmpty();
    const bool prices = !entities(QStringLiteral("custom:")).isEmpty();

    struct Choice {
        int weight;
        QString (SuddenDeathWorkload::*run)();
    };
    const Choice choices[] = {
        {active ? 1 : 6, &SuddenDeathWorkload::newOrder},
        {active ? 1 : 0, &SuddenDeathWorkload::deleteOrder},
        {active ? 10 : 0, &SuddenDeathWorkload::addLine},
        {lines ? 3 : 0, &SuddenDeathWorkload::changeLine},
        {lines ? 2 : 0, &SuddenDeathWorkload::deleteLine},
        {lines && addresses ? 2 : 0, &SuddenDeathWorkload::finalise},
        {3, &SuddenDeathWorkload::storePrice},
        {prices ? 1 : 0, &SuddenDeathWorkload::removePrice},
        {addresses ? 2 : 5, &SuddenDeathWorkload::editAddresses},
        {1, &SuddenDeathWorkload::backup},
    };
    int total = 0;
    for (const Choice& choice : choices)
        total += choice.weight;
    int draw = pick(total);
    for (const Choice& choice : choices) {
        if (draw < choice.weight)
            return (this->*choice.run)();
        draw -= choice.weight;
    }
    throw WorkloadError("no step chosen");
}

void SuddenDeathWorkload::begin(const QString& kind, const QStringList& patterns) {
    log_.begin(step_, kind, patterns);
    patterns_ = patterns;
    begun_ = true;
}

void SuddenDeathWorkload::checkDialogs(const QString& kind) const {
    const std::string step = kind.toStdString();
    if (!dialogs_.errors().isEmpty())
        throw WorkloadError(step + ": " + dialogs_.errors().join(u"; ").toStdString());
    if (dialogs_.pendingAnswers() != 0)
        throw WorkloadError(step + ": an answer was not asked for");
    for (const ScriptedDialogs::Box& box : dialogs_.boxes()) {
        if (box.prompt.startsWith(QStringLiteral("Could not")) ||
            box.prompt.contains(QStringLiteral("NOT copied")))
            throw WorkloadError(step + ": " + box.prompt.toStdString());
    }
}

// ------------------------------------------------------------------------------------------
// Orders

QString SuddenDeathWorkload::newOrder() {
    const bool replace = state_.orderActive;
    const qint32 old = state_.currentOrderNum;
    QStringList patterns{QStringLiteral("order:+")};
    if (replace)
        patterns << QStringLiteral("order:%1").arg(old) << orderPrefix() + u'*';
    begin(QStringLiteral("newOrder"), patterns);
    dialogs_.answerNext(Button::Yes);
    press(window_, QStringLiteral("cmdStartOrder"));
    if (!state_.orderActive || (replace && state_.currentOrderNum == old))
        throw WorkloadError("newOrder: no new order");
    return QStringLiteral("newOrder");
}

QString SuddenDeathWorkload::deleteOrder() {
    begin(QStringLiteral("deleteOrder"),
          {QStringLiteral("order:%1").arg(state_.currentOrderNum), orderPrefix() + u'*'});
    dialogs_.answerNext(Button::Yes);
    trigger(QStringLiteral("mnuDeleteOrder"));
    if (state_.orderActive)
        throw WorkloadError("deleteOrder: the order is still current");
    return QStringLiteral("deleteOrder");
}

QString SuddenDeathWorkload::addLine() {
    const CataloguePart& part = parts_[pick(static_cast<int>(parts_.size()))];
    const QString find =
        QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = %1 AND %2 = '%3'")
            .arg(state_.currentOrderNum)
            .arg(PartKey::column(part.roverNum),
                 sqlEscape(PartKey::value(part.roverNum, part.dorvaneNum)));
    const Recordset existing = state_.userDb->openRecordset(find);
    const bool update = !existing.isEmpty();
    begin(QStringLiteral("addLine"),
          {orderPrefix() + (update ? existing.field(u"ID").toText() : QStringLiteral("+"))});

    showPart(part);
    const int quantity = 1 + pick(40);
    const QString comment = randomComment();
    answerQuantity(
        chance(20) ? QStringLiteral("%1 boxes").arg(quantity) : QString::number(quantity), comment);
    if (update)
        dialogs_.answerNext(Button::Yes);
    press(window_, QStringLiteral("cmdOrder"));

    const Recordset line = state_.userDb->openRecordset(find);
    if (line.isEmpty() || line.field(u"Quantity").toInteger() != quantity ||
        line.field(u"Comments").toText() != comment)
        throw WorkloadError("addLine: the line doesn't hold what was typed");
    return QStringLiteral("addLine");
}

QString SuddenDeathWorkload::changeLine() {
    return changeOrDeleteLine(false);
}

QString SuddenDeathWorkload::deleteLine() {
    return changeOrDeleteLine(true);
}

QString SuddenDeathWorkload::changeOrDeleteLine(bool remove) {
    const QString kind = remove ? QStringLiteral("deleteLine") : QStringLiteral("changeLine");
    begin(kind, {orderPrefix() + u'*'});
    const int row = 1 + pick(static_cast<int>(entities(orderPrefix()).size()));
    const int quantity = 1 + pick(40);
    const QString comment = randomComment();
    if (!remove)
        answerQuantity(QString::number(quantity), comment);
    qint32 id = 0;
    dialogs_.onWindow(QStringLiteral("frmViewOrder"), [&](QDialog& window) {
        auto* grid = window.findChild<FlexGrid*>(QStringLiteral("MSFlexGridViewOrder"));
        grid->setCurrentCell(row, 1);
        id = static_cast<ViewOrderWindow&>(window).selectedLineId();
        if (remove)
            dialogs_.answerNext(Button::Yes);
        press(window, remove ? QStringLiteral("cmdDelete") : QStringLiteral("cmdModify"));
        press(window, QStringLiteral("cmdOK"));
    });
    press(window_, QStringLiteral("cmdViewOrder"));

    const Recordset line = state_.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orderParts WHERE ID = %1").arg(id));
    const bool right = remove
                           ? line.isEmpty()
                           : !line.isEmpty() && line.field(u"Quantity").toInteger() == quantity &&
                                 line.field(u"Comments").toText() == comment;
    if (id == 0 || !right)
        throw WorkloadError(kind.toStdString() + ": the line isn't as it should be");
    return kind;
}

QString SuddenDeathWorkload::finalise() {
    const qint32 orderNum = state_.currentOrderNum;
    begin(QStringLiteral("finalise"), {QStringLiteral("order:%1").arg(orderNum),
                                       QStringLiteral("oaddr:*"), QStringLiteral("daddr:*")});
    dialogs_.answerNext(Button::Yes);
    dialogs_.onWindow(QStringLiteral("frmOptions"),
                      [](QDialog& window) { press(window, QStringLiteral("cmdOK")); });
    press(window_, QStringLiteral("cmdFinaliseOrder"));
    if (state_.orderActive || browser_.requests().size() != 1)
        throw WorkloadError("finalise: the order was not finalised");
    return QStringLiteral("finalise");
}

// ------------------------------------------------------------------------------------------
// Custom prices, addresses, backup

QString SuddenDeathWorkload::storePrice() {
    const CataloguePart& part = parts_[pick(static_cast<int>(parts_.size()))];
    const QString& key = PartKey::value(part.roverNum, part.dorvaneNum);
    QString existing;
    for (const QString& entity : entities(QStringLiteral("custom:"))) {
        const QString& value = rows_.value(entity);
        const QString recordKey = PartKey::value(textColumn(value, 1), textColumn(value, 0));
        if (recordKey == key &&
            PartKey::isDorvaneOnly(textColumn(value, 1)) == PartKey::isDorvaneOnly(part.roverNum))
            existing = entity;
    }
    begin(QStringLiteral("storePrice"),
          {existing.isEmpty() ? QStringLiteral("custom:+") : existing});
    showPart(part);
    const auto amount = [this] {
        return QStringLiteral("%1.%2").arg(1 + pick(300)).arg(pick(100), 2, 10, QChar(u'0'));
    };
    setBox(window_, QStringLiteral("txtFilePrice"), amount());
    setBox(window_, QStringLiteral("txtSellingPrice"), amount());
    setBox(window_, QStringLiteral("txtUnit"), units[pick(static_cast<int>(units.size()))]);
    press(window_, QStringLiteral("cmdEnterFilePrice"));
    const QString expected = existing.isEmpty() ? QStringLiteral("Custom price stored")
                                                : QStringLiteral("Custom price updated");
    if (window_.statusText() != expected)
        throw WorkloadError("storePrice: " + window_.statusText().toStdString());
    return QStringLiteral("storePrice");
}

QString SuddenDeathWorkload::removePrice() {
    const QStringList records = entities(QStringLiteral("custom:"));
    const QString entity = records[pick(static_cast<int>(records.size()))];
    const QString& value = rows_.value(entity);
    const CataloguePart* part = nullptr;
    for (const CataloguePart& candidate : parts_) {
        if (candidate.dorvaneNum == textColumn(value, 0) &&
            candidate.roverNum == textColumn(value, 1))
            part = &candidate;
    }
    if (part == nullptr)
        throw WorkloadError("removePrice: a record of no catalogue part");
    begin(QStringLiteral("removePrice"), {entity});
    showPart(*part);
    press(window_, QStringLiteral("cmdRemoveFilePrice"));
    if (window_.statusText() != u"Custom price removed")
        throw WorkloadError("removePrice: " + window_.statusText().toStdString());
    return QStringLiteral("removePrice");
}

QString SuddenDeathWorkload::editAddresses() {
    begin(QStringLiteral("editAddresses"), {QStringLiteral("oaddr:*"), QStringLiteral("daddr:*")});
    const bool delivery = chance(50);
    const QString prefix = delivery ? QStringLiteral("Delivery") : QStringLiteral("Order");
    const bool exists =
        !entities(delivery ? QStringLiteral("daddr:") : QStringLiteral("oaddr:")).isEmpty();
    const bool remove = exists && chance(25);
    const bool create = !remove && (!exists || chance(50));
    const QString name =
        (chance(50) ? QStringLiteral("O'Brien's Garage ") : QStringLiteral("Site ")) +
        QString::number(random_()) + u'.' + QString::number(step_);
    const QStringList boxes{QStringLiteral("Name"),     QStringLiteral("Address1"),
                            QStringLiteral("Address2"), QStringLiteral("Address3"),
                            QStringLiteral("Address4"), QStringLiteral("Address5"),
                            QStringLiteral("Postcode"), QStringLiteral("Tel")};
    dialogs_.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
        if (remove) {
            dialogs_.answerNext(Button::Yes);
            press(window, QStringLiteral("cmdDelete%1Address").arg(prefix));
        } else {
            if (create) {
                dialogs_.answerNextInput(name);
                press(window, QStringLiteral("cmdNew%1Address").arg(prefix));
            }
            for (int edits = 1 + pick(3); edits > 0; --edits) {
                setBox(window,
                       QStringLiteral("txt%1%2").arg(prefix,
                                                     boxes[pick(static_cast<int>(boxes.size()))]),
                       addressTexts[pick(static_cast<int>(addressTexts.size()))]);
            }
        }
        press(window, QStringLiteral("cmdOK"));
    });
    press(window_, QStringLiteral("cmdOptions"));
    return QStringLiteral("editAddresses");
}

QString SuddenDeathWorkload::backup() {
    begin(QStringLiteral("backup"), {});
    dialogs_.answerNext(Button::Yes);
    trigger(QStringLiteral("mnuBackup"));
    if (!QFileInfo(window_.context().folder.userBackup()).isFile())
        throw WorkloadError("backup: no backup file");
    return QStringLiteral("backup");
}

// ------------------------------------------------------------------------------------------
// Helpers

void SuddenDeathWorkload::showPart(const CataloguePart& part) {
    setBox(window_, QStringLiteral("txtPart"), part.dorvaneNum);
    press(window_, QStringLiteral("cmdSearchPart"));
    if (state_.selectedDorvaneNum != part.dorvaneNum)
        throw WorkloadError("the part " + part.dorvaneNum.toStdString() + " is not shown");
}

void SuddenDeathWorkload::trigger(const QString& actionName) {
    auto* action = window_.findChild<QAction*>(actionName);
    if (action == nullptr || !action->isEnabled())
        throw WorkloadError("the menu item " + actionName.toStdString() + " can't be chosen");
    action->trigger();
}

void SuddenDeathWorkload::answerQuantity(const QString& quantity, const QString& comment) {
    dialogs_.onWindow(QStringLiteral("frmOrderQuantity"), [quantity, comment](QDialog& dialog) {
        setBox(dialog, QStringLiteral("txtQty"), quantity);
        setBox(dialog, QStringLiteral("txtComment"), comment);
        press(dialog, QStringLiteral("cmdOK"));
    });
}

QStringList SuddenDeathWorkload::entities(const QString& prefix) const {
    QStringList found;
    for (auto it = rows_.lowerBound(prefix); it != rows_.end() && it.key().startsWith(prefix); ++it)
        found << it.key();
    return found;
}

int SuddenDeathWorkload::pick(int count) {
    return static_cast<int>(random_() % static_cast<quint32>(count));
}

bool SuddenDeathWorkload::chance(int percent) {
    return pick(100) < percent;
}

QString SuddenDeathWorkload::randomComment() {
    return comments[pick(static_cast<int>(comments.size()))];
}

QString SuddenDeathWorkload::orderPrefix() const {
    return QStringLiteral("line:%1:").arg(state_.currentOrderNum);
}

} // namespace quillon::tests
