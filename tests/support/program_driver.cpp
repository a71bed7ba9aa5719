#include "program_driver.h"

#include "platform/flex_grid.h"
#include "store/column_type.h"
#include "store/database.h"
#include "store/money.h"
#include "store/prepared_statement.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <sqlite3.h>

namespace quillon::tests {

namespace {

// The value as the column keeps it: an amount in ten-thousandths, a Boolean as 0 or 1.
SqlParameter stored(Database& db, const QString& table, const QString& column, const QVariant& v) {
    if (v.isNull())
        return std::monostate{};
    PreparedStatement info(db.handle(),
                           "SELECT type FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE",
                           QStringLiteral("(the column's type)"));
    info.bind(1, table);
    info.bind(2, column);
    const ColumnType type = columnTypeFromDeclared(
        info.step() ? reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)) : nullptr);
    if (const auto amount = Money::fromPlainText(v.toString());
        type == ColumnType::Amount && amount)
        return amount->units();
    if (type == ColumnType::Boolean)
        return qint64(v.toBool() ? 1 : 0);
    bool whole = false;
    if (const qint64 number = v.toLongLong(&whole);
        whole && (type == ColumnType::Integer || v.typeId() == QMetaType::Int))
        return number;
    return v.toString(); // a text the column can't hold is refused by the store
}

void insertRows(Database& db, const QString& table, const QList<Row>& rows) {
    Transaction transaction(db);
    for (const Row& row : rows) {
        const QStringList columns = row.keys(); // names only: every value is a bound parameter
        const QString sql = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                .arg(table, columns.join(u','),
                                     QStringList(columns.size(), QStringLiteral("?")).join(u','));
        PreparedStatement insert(db.handle(), sql.toUtf8(), sql);
        int index = 1;
        for (auto it = row.begin(); it != row.end(); ++it)
            insert.bind(index++, stored(db, table, it.key(), it.value()));
        insert.step();
    }
    transaction.commit();
}

} // namespace

Row ProgramDriver::row(const QString& pairs) {
    Row made;
    for (const QString& pair : pairs.split(u'|'))
        made.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return made;
}

void ProgramDriver::addParts(const QList<Row>& rows) const {
    insertRows(*Database::open(folder.catalogue(), Database::Access::ReadWrite),
               QStringLiteral("Parts"), rows);
}

void ProgramDriver::addParts(const QStringList& rows) const {
    QList<Row> made;
    for (const QString& pairs : rows)
        made << row(pairs);
    addParts(made);
}

void ProgramDriver::addRows(const QString& table, const QList<Row>& rows) const {
    if (state.userDb)
        return insertRows(*state.userDb, table, rows);
    if (!QFile::exists(folder.userDatabase()))
        Schema::createUser(*Database::create(folder.userDatabase()));
    insertRows(*Database::open(folder.userDatabase(), Database::Access::ReadWrite), table, rows);
}

void ProgramDriver::writeFile(const QString& relativePath, const QByteArray& bytes) const {
    tests::writeFile(dir.filePath(relativePath), bytes);
}

void ProgramDriver::writePicture(const QString& relativePath, QSize size) const {
    const QString path = dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    if (!image.save(path) && !image.save(path, "JPEG")) // no writer for the suffix: a JPEG
        qFatal("could not write %s", qPrintable(path));
}

void ProgramDriver::writeIcons() const {
    writePicture(QStringLiteral("image-icon.bmp"), QSize(12, 12));
    writePicture(QStringLiteral("images/htmlIcon.jpg"), htmlIconSize());
}

void ProgramDriver::copyOrderFormFiles() const {
    const QDir data(qEnvironmentVariable("QUILLON_TEST_DATA"));
    for (const QString& name :
         {QStringLiteral("orderHeader.dat"), QStringLiteral("orderMidA.dat"),
          QStringLiteral("orderFooter.dat"), QStringLiteral("1pixel-black.gif")}) {
        if (!QFile::copy(data.filePath(name), folder.file(name)))
            qFatal("could not copy %s from QUILLON_TEST_DATA", qPrintable(name));
    }
}

MainWindow& ProgramDriver::run() {
    if (!startShown(folder))
        qFatal("the main window did not come up: %s", qPrintable(onlyPrompt()));
    return *window;
}

MainWindow& ProgramDriver::restart() {
    window.reset();
    state = ProgramState{};
    dialogs.clearRecords();
    browser.clear();
    handedOver = false;
    return run();
}

void ProgramDriver::type(const QString& box, const QString& text) const {
    QWidget* widget = control(box);
    auto* combo = qobject_cast<QComboBox*>(widget);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget);
    if (edit == nullptr)
        qFatal("%s is no box to type into", qPrintable(box));
    widget->setFocus();
    typeInto(edit, text);
}

void ProgramDriver::typeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else if (QRegularExpression(QStringLiteral("^[ -~]{1,100}$")).match(text).hasMatch())
        QTest::keyClicks(edit, text);
    else
        edit->insert(text); // pasted: the test keyboard has ASCII keys only
}

void ProgramDriver::click(const QString& button) const {
    QTest::mouseClick(control(button), Qt::LeftButton);
}

void ProgramDriver::trigger(const QString& action) const {
    control<QAction>(action)->trigger();
}

void ProgramDriver::key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void ProgramDriver::searchPart(const QString& number) const {
    type(QStringLiteral("txtPart"), number);
    click(QStringLiteral("cmdSearchPart"));
}

void ProgramDriver::clickCell(int row, int column, bool twice) const {
    clickCell(*grid(), row, column, twice);
}

void ProgramDriver::clickCell(const FlexGrid& grid, int row, int column, bool twice) {
    const QPoint at = grid.visualRect(grid.model()->index(row - 1, column)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
}

void ProgramDriver::clickHeading(int column) const {
    QHeaderView* header = grid()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QString ProgramDriver::status(int panel) const {
    return control<QLabel>(QStringLiteral("StatusBar1Panel%1").arg(panel))->text();
}

FlexGrid* ProgramDriver::grid() const {
    return control<FlexGrid>(QStringLiteral("MSFlexGrid1"));
}

QStringList ProgramDriver::gridColumn(int column) const {
    QStringList texts;
    for (const QString& row : gridRows(*grid()).mid(1))
        texts << row.section(u'|', column, column);
    return texts;
}

QStringList ProgramDriver::gridRows(const FlexGrid& grid) {
    const QAbstractItemModel& model = *grid.model(); // as the view shows it
    QStringList rows;
    for (int row = -1; row < model.rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < model.columnCount(); ++column)
            texts << (row < 0 ? model.headerData(column, Qt::Horizontal)
                              : model.data(model.index(row, column)))
                         .toString();
        rows << texts.join(u'|');
    }
    return rows;
}

QStringList ProgramDriver::userRows(const QString& select) const {
    if (!state.userDb)
        return rowsIn(folder.userDatabase(), select);
    return rowsOf(state.userDb->openRecordset(select));
}

QStringList ProgramDriver::rowsIn(const QString& store, const QString& select) {
    return rowsOf(Database::open(store, Database::Access::ReadOnly)->openRecordset(select));
}

QStringList ProgramDriver::rowsOf(Recordset rows) {
    QStringList lines;
    for (; !rows.eof(); rows.moveNext()) {
        QStringList values;
        for (int column = 0; column < rows.columnCount(); ++column)
            values << (rows.field(column).isNull() ? QStringLiteral("<null>")
                                                   : rows.field(column).toText());
        lines << values.join(u'|');
    }
    return lines;
}

} // namespace quillon::tests
