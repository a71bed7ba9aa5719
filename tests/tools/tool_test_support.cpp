#include "tool_test_support.h"

#include "store/recordset.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace quillon::tests::tool {

Run run(const QStringList& arguments, const QString& program,
        const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray bigPriceFile(int parts) {
    QByteArray csv = "DorvaneNum,Description\n";
    for (int i = 0; i < parts; ++i)
        csv += "BIG" + QByteArray::number(i) + ",A DESCRIPTION LONG ENOUGH TO TAKE A WHILE\n";
    return csv;
}

void importParts(const QString& path, const QStringList& numbers) {
    QTemporaryDir work;
    QByteArray csv = "DorvaneNum,RoverNum,Description,CustomerPrice\n";
    for (const QString& number : numbers)
        csv += u"%1,ERR%1,OIL FILTER,12.5\n"_s.arg(number).toUtf8();
    writeFile(work.filePath(u"p.csv"_s), csv);
    const Run done = run({u"import-catalogue"_s, work.filePath(u"p.csv"_s), path});
    if (done.exitCode != 0)
        qFatal("import-catalogue failed: %s", done.describe().constData());
}

QString rowsOf(Database& store, const QString& select) {
    QStringList lines;
    for (Recordset rows = store.openRecordset(select); !rows.eof(); rows.moveNext()) {
        QStringList fields;
        for (int column = 0; column < rows.columnCount(); ++column) {
            const Value value = rows.field(column);
            fields << (value.isNull()                        ? u"-"_s
                       : value.kind() == Value::Kind::Amount ? u'£' + value.toText()
                                                             : value.toText());
        }
        lines << fields.join(u'|');
    }
    return lines.join(u'\n');
}

void makeUserStore(const QString& path, int lines) {
    const auto db = Database::create(path);
    Schema::createUser(*db);
    const QByteArray fill = "INSERT INTO orders(OrderDate) VALUES ('01/02/2026'); WITH RECURSIVE "
                            "n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                            QByteArray::number(lines) +
                            ") INSERT INTO orderParts(OrderNum, DorvaneNum, Comments) SELECT 1, "
                            "'DA' || i, printf('%.200c', 'c') FROM n";
    if (sqlite3_exec(db->handle(), fill.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("can't fill %s: %s", qPrintable(path), sqlite3_errmsg(db->handle()));
}

QString searched(ProgramRun& program, const QString& number) {
    program.find<QLineEdit>(u"txtPart"_s)->setText(number);
    QTest::mouseClick(program.find<QPushButton>(u"cmdSearchPart"_s), Qt::LeftButton);
    return program.window->statusText() == u"No Parts Found!"
               ? QString()
               : program.state.selectedPart.dorvaneNum;
}

void makeFixture(const QTemporaryDir& fixture) {
    const auto file = [&](const char* name) { return fixture.filePath(QLatin1String(name)); };
    writeFile(file("parts.csv"), "DorvaneNum\r\nKEEP1\r\n");
    writeFile(file("new.csv"), "DorvaneNum\r\nNEW1\r\n");
    writeFile(file("notes.txt"), "not a store\n");
    QCOMPARE(run({u"import-catalogue"_s, file("parts.csv"), file("parts.mdb")}).exitCode, 0);
    QCOMPARE(run({u"make-user-template"_s, file("user.mdb")}).exitCode, 0);
    QByteArray user = readFile(file("user.mdb"));
    for (const char* copy : {"backup.mdb", "old.mdb", "old.mdb.before-restore"})
        writeFile(file(copy), user);
    writeFile(file("damaged.mdb"), user.replace(2 * 4096, 4096, QByteArray(4096, '\xA5')));
    Database::create(file("other.mdb"))->execute(u"CREATE TABLE Things (A TEXT)"_s);
    QVERIFY(QFile::link(file("parts.mdb"), file("link.mdb")));
    writeFile(file("q.csv"), "ID,DorvaneNum,RoverNum,Description,CustomerPrice,Brand\r\n"
                             "1,OF1001,ERR1234,OIL FILTER,12.50,\r\n"
                             "2,OF1002,LR012345,\"TAB\tAND\nBREAK\",0.25,\r\n"
                             "3,OF1003,STC9999,AIR FILTER,,CORVEX\r\n");
    QCOMPARE(run({u"import-catalogue"_s, file("q.csv"), file("q.mdb")}).exitCode, 0);
}

} // namespace quillon::tests::tool
