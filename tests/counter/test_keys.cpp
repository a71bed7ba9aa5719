// The counter by keyboard: Enter searches the box the cursor is in, the default button follows
// the focus, the search boxes lead into the results and back, the pictures open by key; and what
// a screen reader and a keyboard user are shown: a name for every control, the focus marked.
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "platform/qt_dialogs.h"
#include "program_driver.h"
#include "test_registry.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;

namespace {

void addCatalogue(ProgramDriver& app) {
    app.addParts({
        u"ID=1|DorvaneNum=BR1001|RoverNum=STC1|Description=Brake pad|Application1=Defender|"
        u"Picture1=a.jpg|Picture2=b.jpg|Picture3=c.jpg"_s,
        u"ID=2|DorvaneNum=BR1002|RoverNum=STC2|Description=Brake disc|"
        u"Application1=Range Rover"_s,
        u"ID=3|DorvaneNum=AF1003|RoverNum=ESR3|Description=Air filter"_s,
    });
    app.writeIcons();
    for (const char* file : {"a.jpg", "b.jpg", "c.jpg"})
        app.writePicture(u"images/"_s + QLatin1String(file));
}

// The objectName of the control with the focus; an editable list's text field by its list's.
QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr)
        return u"<none>"_s;
    if (auto* combo = qobject_cast<QComboBox*>(focus->parentWidget()))
        return combo->objectName();
    return focus->objectName();
}

// Every visible control of the window that takes the focus by Tab, and every Part Detail value,
// that a screen reader has no name for.
QStringList unnamed(const QWidget& window) {
    QStringList found;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool valueField = widget->objectName().startsWith(u"txt"_s) &&
                                widget->parentWidget()->objectName() == u"framePart"_s;
        if (!widget->isVisibleTo(&window) ||
            (!(widget->focusPolicy() & Qt::TabFocus) && !valueField))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (face == nullptr || face->text(QAccessible::Name).trimmed().isEmpty())
            found << widget->objectName() + u':' +
                         QString::fromLatin1(widget->metaObject()->className());
    }
    return found;
}

QString accessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    // steps, joined by ";": "box=text" types into the box, "@name" gives a control the focus,
    // anything else is a key pressed where the focus is.
    void keys_data() {
        // listed: the results' DV No. column
        // selected: of the focused box; "row N" in the results; else the pictures opened
        tests::addColumns<QString, QString, QString, QString, QString, QString>(
            "steps", "focus", "defaultButton", "listed", "selected", "vehicle");
        const char* any = "- any -";
        const char* both = "BR1001 BR1002";
        addRow("Enter in txtPart searches numbers, txtDesc edited last",
               "txtPart=BR10;txtDesc=filter;@txtPart;Return", "txtPart", "cmdSearchPart", both,
               "BR10", any);
        addRow("Enter in txtDesc searches descriptions", "txtPart=BR10;txtDesc=filter;Return",
               "txtDesc", "cmdSearchDesc", "AF1003", "filter", any);
        addRow("Enter in the vehicle box, txtPart edited last",
               "txtDesc=Brake;txtPart=BR10;lstApplication=Defender;Return", "txtDesc",
               "cmdSearchDesc", "BR1001", "Brake", "Defender");
        addRow("focus in the vehicle box marks the description's Search",
               "txtPart=BR10;@lstApplication", "lstApplication", "cmdSearchDesc", "", "", any);
        addRow("Down into the results on their current row", "txtPart=BR10;Return;Down",
               "MSFlexGrid1", "cmdOrder", both, "row 1", any);
        addRow("Down moves on in the results", "txtPart=BR10;Return;Down;Down", "MSFlexGrid1",
               "cmdOrder", both, "row 2", any);
        addRow("Up on the second row stays in the results", "txtPart=BR10;Return;Down;Down;Up",
               "MSFlexGrid1", "cmdOrder", both, "row 1", any);
        addRow("Up on the first row back to txtPart", "txtPart=BR10;Return;Down;Down;Up;Up",
               "txtPart", "cmdSearchPart", both, "BR10", any);
        addRow("Page Down from txtDesc, Esc back to it",
               "txtDesc=Brake;lstApplication=Range Rover;Return;PgDown;Esc", "txtDesc",
               "cmdSearchDesc", "BR1002", "Brake", "Range Rover");
        addRow("back to the box it came from, not the one typed in last",
               "txtDesc=filter;txtPart=BR10;Return;Down;Esc", "txtPart", "cmdSearchPart", both,
               "BR10", any);
        addRow("Down with nothing listed stays in the box", "txtPart=BR10;Down", "txtPart",
               "cmdSearchPart", "", "", any);
        addRow("Tab from the vehicle box, then Down, keeps the vehicle",
               "lstApplication=Defender;Tab;Down", "MSFlexGrid1", "cmdOrder", "", "row 0",
               "Defender");
        addRow("Enter presses a focused button",
               "txtPart=BR10;txtDesc=filter;@cmdSearchPart;Return", "txtPart", "cmdSearchPart",
               both, "BR10", any);
        addRow("Space presses a focused button", "txtPart=BR10;txtDesc=filter;@cmdSearchPart;Space",
               "txtPart", "cmdSearchPart", both, "BR10", any);
        addRow("a focused button is the default", "txtPart=BR10;@cmdStartOrder", "cmdStartOrder",
               "cmdStartOrder", "", "", any);
        addRow("a price box marks Enter/Update", "txtPart=BR10;Return;@txtUnit", "txtUnit",
               "cmdEnterFilePrice", both, "", any);
        addRow("a list of Part Detail marks no button", "txtPart=BR10;Return;@lstRoverSupers",
               "lstRoverSupers", "", both, "", any);
        // The thumbnails shown take the focus by Tab from the Tools buttons; the arrow keys move
        // between them, stopping at the ends; Enter or Space opens the picture.
        const auto picture = [any](const char* name, const char* keys, const char* focus,
                                   const char* opened) {
            addRow(name, u"txtPart=BR1001;Return;@cmdOptions;"_s + QLatin1String(keys), focus, "",
                   "BR1001", opened, any);
        };
        picture("Tab reaches the first picture", "Tab", "Image1", "");
        picture("Right to the next picture", "Tab;Right;Right", "Image3", "");
        picture("Right stops at the last picture", "Tab;Right;Right;Right", "Image3", "");
        picture("Left back, stopping at the first picture", "Tab;Right;Left;Left", "Image1", "");
        picture("Enter opens a picture", "Tab;Right;Return", "Image2", "b.jpg");
        picture("Space opens a picture", "Tab;Right;Right;Space", "Image3", "c.jpg");
        picture("Tab leaves the pictures", "Tab;Tab;Tab;Tab", "lstRoverSupers", "");
    }
    void keys() {
        QFETCH(QString, steps);
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        QStringList opened;
        app.dialogs.onWindow(u"frmImageView"_s, [&](QDialog& window) {
            opened << app.state.viewPictureFile;
            window.close();
        });
        for (const QString& step : steps.split(u';')) {
            if (step.contains(u'=')) {
                app.type(step.section(u'=', 0, 0), step.section(u'=', 1));
            } else if (step.startsWith(u'@')) {
                app.control(step.mid(1))->setFocus(Qt::TabFocusReason);
            } else {
                const QKeyCombination key = QKeySequence::fromString(step)[0];
                QVERIFY2(key.key() != Qt::Key_unknown, qPrintable(step));
                ProgramDriver::key(key.key());
            }
        }

        QTEST(focusName(), "focus");
        auto* defaultButton = app.window->defaultButton();
        QTEST(defaultButton ? defaultButton->objectName() : QString(), "defaultButton");
        // The button marked is the one drawn as the default, and only it.
        for (QPushButton* button : app.window->findChildren<QPushButton*>())
            QCOMPARE(button->isDefault(), button == defaultButton);
        QTEST(app.gridColumn(0).join(u' '), "listed");
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        const QString selected = QApplication::focusWidget() == app.grid()
                                     ? u"row %1"_s.arg(app.grid()->row())
                                     : (edit ? edit->selectedText() : opened.join(u' '));
        QTEST(selected, "selected");
        QTEST(app.control<QComboBox>(u"lstApplication"_s)->currentText(), "vehicle");
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // Every window: each control that takes the focus, and each Part Detail value, has a name a
    // screen reader can say; the main window's boxes, lists and values by their labels' words.
    void accessibleNames() {
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        app.searchPart(u"BR1001"_s);
        QCOMPARE(unnamed(*app.window), QStringList());
        const QStringList expected =
            u"txtPart=Enter part number|txtDesc=Enter keyword|MSFlexGrid1=Search Results|"
            "txtFilePrice=File Price|txtSellingPrice=Selling Price|txtUnit=Unit|"
            "lstRoverSupers=Rover Numbers|lstVehicleApplication=Vehicle Applications|"
            "txtDRNumber=DV Number|txtCustomerLRPrice=Cust LR Price|Image2=Picture 2"_s.split(u'|');
        QStringList named;
        for (const QString& pair : expected)
            named << pair.section(u'=', 0, 0) + u'=' +
                         accessibleName(app.control(pair.section(u'=', 0, 0)));
        QCOMPARE(named, expected);
        // The value itself is said as well.
        QCOMPARE(QAccessible::queryAccessibleInterface(app.control(u"txtDRNumber"_s))
                     ->text(QAccessible::Description),
                 u"BR1001"_s);
        // The vehicle box says its text as its name, as lists do on Linux, and is labelled by
        // its label; its text field is named after it.
        auto* vehicles = app.control<QComboBox>(u"lstApplication"_s);
        QCOMPARE(accessibleName(vehicles->lineEdit()), u"Select vehicle"_s);
        const auto labels =
            QAccessible::queryAccessibleInterface(vehicles)->relations(QAccessible::Label);
        QStringList labelNames;
        for (const auto& [label, relation] : labels)
            labelNames << label->text(QAccessible::Name);
        QVERIFY2(labelNames.contains(u"Select vehicle"_s), qPrintable(labelNames.join(u'|')));

        QStringList windows;
        const auto check = [&windows](QDialog& window) {
            windows << window.objectName() + u' ' + unnamed(window).join(u',');
            // Opened from the keyboard or not, the focus is marked at once.
            windows << (window.testAttribute(Qt::WA_KeyboardFocusChange) ? u"marked"_s
                                                                         : u"unmarked"_s);
            window.close();
        };
        for (const char* name : {"frmViewOrder", "frmOrderQuantity", "frmBackOrders", "frmOptions",
                                 "frmImageView", "frmAbout", "frmHelp"})
            app.dialogs.onWindow(QLatin1String(name), check);
        app.dialogs.answerNext(Dialogs::Button::Yes);
        app.click(u"cmdStartOrder"_s);
        app.click(u"cmdOrder"_s);
        app.click(u"cmdViewOrder"_s);
        app.click(u"cmdPreviousOrders"_s);
        app.click(u"cmdOptions"_s);
        QTest::mouseClick(app.control(u"Image1"_s), Qt::LeftButton);
        app.trigger(u"mnuAboutItem"_s);
        app.trigger(u"mnuContentsItem"_s);
        QCOMPARE(windows.join(u'|'), u"frmOrderQuantity |marked|frmViewOrder |marked|"
                                     "frmBackOrders |marked|frmOptions |marked|frmImageView |"
                                     "marked|frmAbout |marked|frmHelp |marked"_s);
        QVERIFY(app.window->testAttribute(Qt::WA_KeyboardFocusChange));
        QVERIFY(!app.window->windowIcon().isNull());
    }

    // A message box is never narrower than its title needs in the title bar, and shows the
    // focus on its default button from the start.
    void messageBoxTitles_data() {
        tests::addColumns<QString, QString>("title", "prompt");
        addRow("New Order Started", "New Order Started",
               "New order started.\r\n\r\nOrder number = 1");
        addRow("short prompt, long title", "Previous order number 12 not completed", "OK?");
        addRow("no title of its own", "", "Part?");
    }
    void messageBoxTitles() {
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        const auto box = QtDialogs::buildBox(
            prompt, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, title, Dialogs::Button::Ok);
        box->show();
        QFont bold = QApplication::font();
        bold.setBold(true);
        const QString shown = title.isEmpty() ? u"Dorvane Quillon"_s : title;
        // The title, and room for an icon and three buttons of a title bar beside it.
        QVERIFY2(box->width() >= QFontMetrics(bold).horizontalAdvance(shown) + 4 * 24,
                 qPrintable(u"%1 px"_s.arg(box->width())));
        QCOMPARE(box->windowTitle(), shown);
        QVERIFY(box->testAttribute(Qt::WA_KeyboardFocusChange)); // its default button marked
        box->close();
    }
};

} // namespace

QUILLON_TEST_CLASS(KeysTest)
#include "test_keys.moc"
