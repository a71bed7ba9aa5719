#include "bench_session.h"

#include "app/start_up.h"
#include "orders/order_output.h"
#include "platform/flex_grid.h"
#include "printing/order_form_printing.h"
#include "store/database.h"
#include "store/sql_text.h"
#include "store/transaction.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace quillon::bench {

namespace {

QString quoted(const QString& text) {
    return u'\'' + sqlEscape(text) + u'\'';
}

double elapsedMs(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until the window has settled: a pass leaves the events posted while it ran
// (a relayout that moves the frames, the paint that follows) to the next, and those belong to the
// action timed, not to the one after it.
void settle() {
    constexpr int mostPasses = 20;
    for (int pass = 0; pass < mostPasses; ++pass) {
        if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents))
            return;
    }
}

void insertLines(Database& db, qint32 orderNum, const std::vector<SeedLine>& lines) {
    for (const SeedLine& line : lines)
        db.execute(
            u"INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,"
            u"Description,Quantity,Price,Comments) SELECT '%1' AS a, %2 AS "
            u"b, %3 AS c, %4 AS d, '2' AS e, '12.5' AS f, 'urgent' AS g"_s.arg(orderNum)
                .arg(quoted(line.dorvaneNum), quoted(line.roverNum), quoted(line.description)));
}

} // namespace

BenchSession::BenchSession(const QString& folderPath) : folder_(folderPath) {}

BenchSession::~BenchSession() = default;

template <typename T> T* BenchSession::find(const QString& name) const {
    T* found = window_->findChild<T*>(name);
    if (found == nullptr)
        throw std::runtime_error("no control " + name.toStdString());
    return found;
}

qint32 BenchSession::seedOrders(const std::vector<SeedLine>& completed,
                                const std::vector<SeedLine>& open) {
    auto db = Database::open(folder_.userDatabase(), Database::Access::ReadWrite);
    Transaction transaction(*db);
    db->execute(u"INSERT INTO orders (OrderDate, OrderStatus) VALUES "
                u"('01/03/2024', TRUE)"_s);
    const qint32 completedNum =
        db->openRecordset(u"SELECT max(OrderNum) AS n FROM orders"_s).field(0).toInt32();
    insertLines(*db, completedNum, completed);
    if (!open.empty()) {
        db->execute(u"INSERT INTO orders (OrderDate, OrderStatus) VALUES "
                    u"('02/03/2024', FALSE)"_s);
        insertLines(*db, completedNum + 1, open);
    }
    db->execute(u"INSERT INTO orderCompanyDetails (RecordName, OrderContactName, "
                u"OrderAddress1, OrderPostcode, OrderTel) VALUES ('Office', "
                u"'Olga Quill', '1 High Street', 'QD1 2AB', '01234 567890')"_s);
    db->execute(u"INSERT INTO deliveryCompanyDetails (RecordName, "
                u"DeliveryContactName, DeliveryAddress1, DeliveryPostcode, "
                u"DeliveryTel) VALUES ('Depot', 'Dan Vane', 'Yard 2', 'QD3 4EF', "
                u"'01234 098765')"_s);
    transaction.commit();
    return completedNum;
}

void BenchSession::start() {
    window_ = StartUp::start(state_, dialogs_, browser_, folder_);
    if (!window_)
        throw std::runtime_error("the main window did not start: " +
                                 (dialogs_.boxes().isEmpty()
                                      ? std::string()
                                      : dialogs_.boxes().last().prompt.toStdString()));
    window_->show();
    QApplication::setActiveWindow(window_.get());
    if (!QTest::qWaitForWindowExposed(window_.get()))
        throw std::runtime_error("the main window was not shown");
    // The quantity dialog: 1, OK. View Parts Order: count its rows, OK. The address window: OK
    // on the first addresses.
    dialogs_.onWindow(u"frmOrderQuantity"_s, [](QDialog& d) {
        d.findChild<QLineEdit*>(u"txtQty"_s)->setText(u"1"_s);
        d.findChild<QPushButton*>(u"cmdOK"_s)->click();
    });
    dialogs_.onWindow(u"frmViewOrder"_s, [this](QDialog& d) {
        viewedRows_ = d.findChild<FlexGrid*>(u"MSFlexGridViewOrder"_s)->rows() - 1;
        d.findChild<QPushButton*>(u"cmdOK"_s)->click();
    });
    dialogs_.onWindow(u"frmOptions"_s,
                      [](QDialog& d) { d.findChild<QPushButton*>(u"cmdOK"_s)->click(); });
    QApplication::processEvents();
    // The start's own boxes (an open order taken up) are not the searches'.
    dialogs_.clearRecords();
}

BenchSession::Search BenchSession::timedSearch(const char* button) {
    auto* press = find<QPushButton>(QString::fromLatin1(button));
    QElapsedTimer timer;
    timer.start();
    press->click();
    // The grid and Part Detail painted.
    settle();
    Search result;
    result.ms = elapsedMs(timer);
    const auto* count = find<QLabel>(u"lblPartsFoundsNumber"_s);
    result.hits = count->isVisibleTo(window_.get()) ? count->text().toInt() : 0;
    result.shownNumber = find<QLabel>(u"txtDRNumber"_s)->text();
    if (!dialogs_.errors().isEmpty())
        throw std::runtime_error("unexpected box: " + dialogs_.errors().join(u"; ").toStdString());
    if (!dialogs_.boxes().isEmpty())
        throw std::runtime_error("the search said: " +
                                 dialogs_.boxes().last().prompt.toStdString());
    dialogs_.clearRecords();
    return result;
}

BenchSession::Search BenchSession::searchPart(const QString& number) {
    find<QLineEdit>(u"txtPart"_s)->setText(number);
    return timedSearch("cmdSearchPart");
}

BenchSession::Search BenchSession::searchDesc(const QString& keyword, const QString& vehicle) {
    find<QComboBox>(u"lstApplication"_s)->setCurrentText(vehicle);
    find<QLineEdit>(u"txtDesc"_s)->setText(keyword);
    return timedSearch("cmdSearchDesc");
}

double BenchSession::nextRow(int* pictures) {
    auto* grid = find<FlexGrid>(u"MSFlexGrid1"_s);
    const qint32 before = state_.selectedPart.id;
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(grid, Qt::Key_Down);
    settle();
    const double ms = elapsedMs(timer);
    if (state_.selectedPart.id == before)
        throw std::runtime_error("the next row showed no other part");
    if (pictures != nullptr) {
        *pictures = 0;
        for (int slot = 1; slot <= ProgramState::pictureSlots; ++slot) {
            if (find<QWidget>(u"Image%1"_s.arg(slot))->isVisibleTo(window_.get()))
                ++*pictures;
        }
    }
    return ms;
}

double BenchSession::sortBy(int column) {
    QHeaderView* header = find<FlexGrid>(u"MSFlexGrid1"_s)->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    const qint32 shown = state_.selectedPart.id;
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    settle();
    const double ms = elapsedMs(timer);
    if (state_.selectedPart.id != shown || header->sortIndicatorSection() != column)
        throw std::runtime_error("the sort did not keep the part shown, or did not sort");
    return ms;
}

double BenchSession::addLine() {
    if (state_.selectedPart.id == 0 || !state_.orderActive)
        throw std::runtime_error("add a line: no part shown or no current order");
    auto* press = find<QPushButton>(u"cmdOrder"_s);
    const int before =
        state_.userDb->openRecordset(u"SELECT count(*) AS n FROM orderParts"_s).field(0).toInt32();
    QElapsedTimer timer;
    timer.start();
    press->click();
    settle();
    const double ms = elapsedMs(timer);
    const int after =
        state_.userDb->openRecordset(u"SELECT count(*) AS n FROM orderParts"_s).field(0).toInt32();
    if (after != before + 1)
        throw std::runtime_error("add a line: no line was added (" +
                                 window_->statusText().toStdString() + ")");
    state_.userDb->execute(u"DELETE * FROM orderParts WHERE ID = (SELECT max(ID) "
                           u"FROM orderParts)"_s);
    dialogs_.clearRecords();
    return ms;
}

double BenchSession::viewOrder(int* rows) {
    auto* press = find<QPushButton>(u"cmdViewOrder"_s);
    viewedRows_ = -1;
    QElapsedTimer timer;
    timer.start();
    press->click();
    const double ms = elapsedMs(timer);
    QApplication::processEvents();
    if (viewedRows_ < 0)
        throw std::runtime_error("View Parts Order did not come up");
    if (rows != nullptr)
        *rows = viewedRows_;
    dialogs_.clearRecords();
    return ms;
}

double BenchSession::orderForm(qint32 orderNum) {
    browser_.clear();
    dialogs_.answerNext(Dialogs::Button::Yes);
    QElapsedTimer timer;
    timer.start();
    window_->guard().run(u"print the order"_s, [this, orderNum] {
        OrderFormPrinting(window_->context()).cmdPrintPreviousOrder_Click(orderNum);
    });
    const double ms = elapsedMs(timer);
    if (browser_.requests().isEmpty())
        throw std::runtime_error(
            "the Order form was not written: " + dialogs_.boxes().last().prompt.toStdString() +
            " / windows " + dialogs_.shownWindows().join(u' ').toStdString() + " / " +
            dialogs_.errors().join(u' ').toStdString());
    dialogs_.clearRecords();
    return ms;
}

double BenchSession::orderPdf(qint32 orderNum, const QString& path, int* pages) {
    QFile::remove(path);
    dialogs_.answerNextSaveFile(path);
    QElapsedTimer timer;
    timer.start();
    window_->guard().run(u"save the order as PDF"_s, [this, orderNum] {
        OrderOutput(window_->context()).order(OrderOutput::Kind::Pdf, orderNum);
    });
    const double ms = elapsedMs(timer);
    if (!QFile::exists(path))
        throw std::runtime_error("the PDF was not written: " +
                                 dialogs_.errors().join(u' ').toStdString());
    if (pages != nullptr) {
        QProcess info;
        info.start(u"pdfinfo"_s, {path});
        info.waitForFinished(30000);
        *pages = 0;
        for (const QByteArray& line : info.readAllStandardOutput().split('\n'))
            if (line.startsWith("Pages:"))
                *pages = line.mid(6).trimmed().toInt();
    }
    dialogs_.clearRecords();
    return ms;
}

} // namespace quillon::bench
