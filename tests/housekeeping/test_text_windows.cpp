#include "housekeeping/about_window.h"
#include "housekeeping/help_window.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <memory>

using quillon::AboutWindow;
using quillon::HelpWindow;
using quillon::TextFileWindow;

namespace {

class TextWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString writeFile(const QString& name, const QByteArray& content) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
            qFatal("could not write %s", qPrintable(path));
        return path;
    }

    static std::unique_ptr<TextFileWindow> open(const QString& kind, const QString& path) {
        if (kind == "about")
            return std::make_unique<AboutWindow>(path);
        return std::make_unique<HelpWindow>(path);
    }

    template <typename T> static T* control(const QWidget& window, const char* name) {
        T* found = window.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    static QString shown(const TextFileWindow& window) {
        return control<QPlainTextEdit>(window, "txtDescription")->toPlainText();
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void controls_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("subtitle");
        QTest::newRow("about") << "about"
                               << "frmAbout"
                               << "About Dorvane Quillon"
                               << "Version 1.0.0";
        QTest::newRow("help") << "help"
                              << "frmHelp"
                              << "Help"
                              << "How to use the Quillon";
    }

    void controls() {
        QFETCH(QString, kind);
        const auto window = open(kind, writeFile(kind + ".dat", "text\r\n"));
        QTEST(window->objectName(), "objectName");
        QTEST(window->windowTitle(), "caption");
        QCOMPARE(control<QLabel>(*window, "lblTitle")->text(), "Dorvane Quillon");
        QTEST(control<QLabel>(*window, "lblVersion")->text(), "subtitle");
        QVERIFY(!control<QLabel>(*window, "picIcon")->pixmap().isNull());
        auto* box = control<QPlainTextEdit>(*window, "txtDescription");
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(control<QPushButton>(*window, "cmdOK")->text(), "OK");
        QCOMPARE(window->findChild<QLabel*>("lblCredit1") != nullptr, kind == "about");
        QCOMPARE(window->findChild<QLabel*>("lblCredit2") != nullptr, kind == "about");
        if (kind == "about") {
            QVERIFY(!control<QLabel>(*window, "lblCredit1")->text().isEmpty());
            QVERIFY(!control<QLabel>(*window, "lblCredit2")->text().isEmpty());
            QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        }
    }

    // Every line, the last one too, is followed by CR LF, whatever line ends the file has.
    void readsLineByLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::newRow("three lines")
            << QByteArray("first\r\nsecond\r\nthird\r\n") << "first\r\nsecond\r\nthird\r\n";
        QTest::newRow("no final line end")
            << QByteArray("first\r\nsecond\r\nthird") << "first\r\nsecond\r\nthird\r\n";
        QTest::newRow("LF line ends")
            << QByteArray("first\nsecond\nthird\n") << "first\r\nsecond\r\nthird\r\n";
        QTest::newRow("empty lines kept")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << "a\r\n\r\n\r\nb\r\n";
        QTest::newRow("one empty line") << QByteArray("\r\n") << "\r\n";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xc2\xa3"
                                             "5\r\n")
                               << "Café £5\r\n";
        QTest::newRow("other 8-bit text")
            << QByteArray("Caf\xe9\r\n") << QString("Caf") + QChar::ReplacementCharacter + "\r\n";
    }

    void readsLineByLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        for (const QString kind : {"about", "help"}) {
            const auto window = open(kind, writeFile(kind + ".dat", content));
            QCOMPARE(window->text(), text);
            QString expected = text;
            expected.replace("\r\n", "\n");
            QCOMPARE(shown(*window), expected);
        }
    }

    void threeLinesShowWithAnEmptyLineAfter() {
        const auto window = open("help", writeFile("help.dat", "one\r\ntwo\r\nthree\r\n"));
        auto* box = control<QPlainTextEdit>(*window, "txtDescription");
        QCOMPARE(box->blockCount(), 4);
        QCOMPARE(box->document()->findBlockByNumber(2).text(), "three");
        QCOMPARE(box->document()->findBlockByNumber(3).text(), "");
    }

    void editedFileShowsNextTime() {
        const QString path = writeFile("help.dat", "old text\r\n");
        {
            HelpWindow first(path);
            QCOMPARE(shown(first), "old text\n");
        }
        writeFile("help.dat", "new text\r\nand more\r\n");
        HelpWindow second(path);
        QCOMPARE(shown(second), "new text\nand more\n");
    }

    // An unreadable file: one line that names it, instead of an empty or broken window.
    void unreadableFileIsNamed_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("directory");
        QTest::newRow("about missing") << "about"
                                       << "nothere/about.dat" << false;
        QTest::newRow("help missing") << "help"
                                      << "nothere/help.dat" << false;
        QTest::newRow("help is a folder") << "help"
                                          << "folder/help.dat" << true;
    }

    void unreadableFileIsNamed() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(bool, directory);
        const QString path = dir_.filePath(name);
        if (directory)
            QVERIFY(QDir().mkpath(path));
        const auto window = open(kind, path);
        const QString text = window->text();
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(text.count("\r\n"), 1);
        QCOMPARE(control<QPlainTextEdit>(*window, "txtDescription")->blockCount(), 2);
    }

    void okClosesByClickEnterAndEsc_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how");
        for (const QString kind : {"about", "help"}) {
            for (const QString how : {"click", "enter", "escape"})
                QTest::addRow("%s %s", qPrintable(kind), qPrintable(how)) << kind << how;
        }
    }

    void okClosesByClickEnterAndEsc() {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        const auto window = open(kind, writeFile(kind + ".dat", "text\r\n"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QSignalSpy finished(window.get(), &QDialog::finished);
        auto* ok = control<QPushButton>(*window, "cmdOK");
        QVERIFY(ok->isDefault());
        if (how == "click")
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (how == "enter")
            QTest::keyClick(control<QPlainTextEdit>(*window, "txtDescription"), Qt::Key_Return);
        else
            QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!window->isVisible());
    }
};

} // namespace

QUILLON_TEST_CLASS(TextWindowTest)

#include "test_text_windows.moc"
