#pragma once

// Steps with orders that the test files of the orders share: orders put in the User database,
// the windows the order commands show answered, and what the stores and the window then hold.
#include "platform/flex_grid.h"
#include "program_driver.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quillon::tests {

using namespace Qt::StringLiterals; // for the files of the orders' tests too

// An order and its lines, each "DorvaneNum|RoverNum|Description|Quantity|Price|Comments" (the
// comments may hold "|" too).
inline void addOrder(const ProgramDriver& app, int orderNum, bool completed,
                     const QStringList& lines = {}, const QString& date = u"01/03/2026"_s) {
    app.addRows(
        u"orders"_s,
        {{{u"OrderNum"_s, orderNum}, {u"OrderDate"_s, date}, {u"OrderStatus"_s, completed}}});
    const QStringList columns{u"DorvaneNum"_s, u"RoverNum"_s, u"Description"_s, u"Quantity"_s,
                              u"Price"_s};
    QList<Row> rows;
    for (const QString& line : lines) {
        const QStringList v = line.split(u'|');
        rows << Row{{u"OrderNum"_s, orderNum}, {u"Comments"_s, v.mid(5).join(u'|')}};
        for (int i = 0; i < 5; ++i)
            rows.last().insert(columns[i], v[i]);
    }
    app.addRows(u"orderParts"_s, rows);
}

// Catalogue parts of unit of issue EA, "DorvaneNum|RoverNum|Description|CustomerPrice|LRPrice"
// (the prices optional).
inline void addParts(const ProgramDriver& app, const QStringList& parts) {
    QList<Row> rows;
    for (const QString& part : parts) {
        const QStringList v = part.split(u'|');
        Row row{{u"ID"_s, rows.size() + 1},
                {u"DorvaneNum"_s, v[0]},
                {u"RoverNum"_s, v[1]},
                {u"Description"_s, v[2]},
                {u"UnitIssue"_s, u"EA"_s}};
        for (int i : {3, 4})
            if (!v.value(i).isEmpty())
                row.insert(i == 3 ? u"CustomerPrice"_s : u"LRPrice"_s, v[i]);
        rows << row;
    }
    app.addParts(rows);
}

// An address record, "Order|RecordName|ContactName|Address1|...|Address5|Postcode|Tel" (or
// "Delivery|..."), the fields left out Null.
inline void addAddress(const ProgramDriver& app, const QString& record) {
    const QStringList v = record.split(u'|');
    const QStringList columns{u"ContactName"_s, u"Address1"_s, u"Address2"_s, u"Address3"_s,
                              u"Address4"_s,    u"Address5"_s, u"Postcode"_s, u"Tel"_s};
    Row row{{u"RecordName"_s, v[1]}};
    for (qsizetype i = 2; i < v.size(); ++i)
        row.insert(v[0] + columns[i - 2], v[i]);
    app.addRows(v[0].toLower() + u"CompanyDetails", {row});
}

inline QStringList storedOrders(const ProgramDriver& app) {
    return app.userRows(u"SELECT OrderNum, OrderStatus FROM orders ORDER BY OrderNum"_s);
}

// The order commands (the File menu's order output too), the finalise commands and the ORD panel,
// as "on", "off" or "mixed".
inline QString commands(const ProgramDriver& app) {
    const auto group = [&app](std::initializer_list<QAnyStringView> names) {
        int on = 0;
        for (const QAnyStringView name : names) {
            QObject* control = app.find<QObject>(name.toString());
            on += control && control->property("enabled").toBool() ? 1 : 0;
        }
        return on == 0 ? u"off"_s : on == int(names.size()) ? u"on"_s : u"mixed"_s;
    };
    return u"order %1, finalise %2, ORD %3"_s.arg(
        group({"cmdOrder", "mnuAddToOrder", "mnuDeleteOrder", "cmdViewOrder", "mnuOrderItem",
               "mnuPrintOrder", "mnuSaveOrderPdf", "mnuExportOrderCsv", "mnuEmailOrder"}),
        group({"cmdFinaliseOrder", "mnuFinaliseOrder"}), group({"StatusBar1Panel2"}));
}

// The panel beside ORD: the open order's number, lines and total.
inline QString summary(const ProgramDriver& app) {
    auto* panel = app.control<QLabel>(u"StatusBar1OrderSummary"_s);
    return panel->isVisibleTo(app.window.get()) ? panel->text() : u"<hidden>"_s;
}

inline QString titles(const ScriptedDialogs& dialogs) {
    QStringList shown;
    for (const ScriptedDialogs::Box& box : dialogs.boxes())
        shown << box.title;
    return shown.join(u'|');
}

template <typename T = QWidget> T* child(const QWidget& window, QAnyStringView name) {
    if (T* found = window.findChild<T*>(name.toString()))
        return found;
    qFatal("%s has no control %s", qPrintable(window.objectName()), qPrintable(name.toString()));
}

inline void press(const QWidget& window, QAnyStringView button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Every row of a grid, as ProgramDriver::gridRows() shows it, from row 1.
inline QStringList rows(const QWidget& window, QAnyStringView grid) {
    return ProgramDriver::gridRows(*child<FlexGrid>(window, grid)).mid(1);
}

// The next showings of the Part Order Details dialog add what they offered ("quantity|comment")
// to offered, type the quantity and the comment, and leave by way: "ok", "enter", "cancel",
// "esc" or "frame". A dialog still open after that adds "open" and is cancelled.
inline void answerQuantity(ProgramDriver& app, QStringList& offered, const QString& quantity,
                           const QString& comment = {}, const QString& way = u"ok"_s) {
    app.dialogs.onWindow(u"frmOrderQuantity"_s, [&offered, quantity, comment, way](QDialog& d) {
        auto* qty = child<QLineEdit>(d, "txtQty");
        auto* text = child<QLineEdit>(d, "txtComment");
        offered << qty->text() + u'|' + text->text();
        qty->clear();
        QTest::keyClicks(qty, quantity);
        text->setText(comment);
        qty->setFocus();
        if (way == u"ok" || way == u"cancel")
            press(d, way == u"ok" ? "cmdOK" : "cmdCancel");
        else if (way == u"frame")
            d.close();
        else
            QTest::keyClick(qty, way == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
        if (d.isVisible()) {
            offered << u"open"_s;
            press(d, "cmdCancel");
        }
    });
}

} // namespace quillon::tests
