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

// An order and its lines, each "DorvaneNum|RoverNum|Description|Quantity|Price|Comments".
inline void addOrder(const ProgramDriver& app, int orderNum, bool completed,
                     const QStringList& lines = {}, const QString& date = "01/03/2026") {
    app.addRows("orders",
                {{{"OrderNum", orderNum}, {"OrderDate", date}, {"OrderStatus", completed}}});
    QList<Row> rows;
    for (const QString& line : lines) {
        const QStringList v = line.split(u'|');
        rows << Row{{"OrderNum", orderNum},  {"DorvaneNum", v[0]}, {"RoverNum", v[1]},
                    {"Description", v[2]},   {"Quantity", v[3]},   {"Price", v[4]},
                    {"Comments", v.value(5)}};
    }
    app.addRows("orderParts", rows);
}

// Catalogue parts of unit of issue EA, "DorvaneNum|RoverNum|Description|CustomerPrice|LRPrice"
// (the prices optional).
inline void addParts(const ProgramDriver& app, const QStringList& parts) {
    QList<Row> rows;
    for (const QString& part : parts) {
        const QStringList v = part.split(u'|');
        Row row{{"ID", rows.size() + 1},
                {"DorvaneNum", v[0]},
                {"RoverNum", v[1]},
                {"Description", v[2]},
                {"UnitIssue", "EA"}};
        for (int i : {3, 4})
            if (!v.value(i).isEmpty())
                row.insert(i == 3 ? "CustomerPrice" : "LRPrice", v[i]);
        rows << row;
    }
    app.addParts(rows);
}

// An address record, "Order|RecordName|ContactName|Address1|...|Address5|Postcode|Tel" (or
// "Delivery|..."), the fields left out Null.
inline void addAddress(const ProgramDriver& app, const QString& record) {
    const QStringList v = record.split(u'|');
    const QStringList columns{"ContactName", "Address1", "Address2", "Address3",
                              "Address4",    "Address5", "Postcode", "Tel"};
    Row row{{"RecordName", v[1]}};
    for (qsizetype i = 2; i < v.size(); ++i)
        row.insert(v[0] + columns[i - 2], v[i]);
    app.addRows(v[0].toLower() + "CompanyDetails", {row});
}

inline QStringList storedOrders(const ProgramDriver& app) {
    return app.userRows("SELECT OrderNum, OrderStatus FROM orders ORDER BY OrderNum");
}

// The order commands, the finalise commands and the ORD panel, as "on", "off" or "mixed".
inline QString commands(const ProgramDriver& app) {
    const auto group = [&app](const QStringList& names) {
        int on = 0;
        for (const QString& name : names) {
            QObject* control = app.find<QObject>(name);
            on += control && control->property("enabled").toBool() ? 1 : 0;
        }
        return on == 0 ? "off" : on == names.size() ? "on" : "mixed";
    };
    return QStringLiteral("order %1, finalise %2, ORD %3")
        .arg(group({"cmdOrder", "mnuAddToOrder", "mnuDeleteOrder", "cmdViewOrder", "mnuOrderItem"}),
             group({"cmdFinaliseOrder", "mnuFinaliseOrder"}), group({"StatusBar1Panel2"}));
}

inline QString titles(const ScriptedDialogs& dialogs) {
    QStringList shown;
    for (const ScriptedDialogs::Box& box : dialogs.boxes())
        shown << box.title;
    return shown.join(u'|');
}

template <typename T = QWidget> T* child(const QWidget& window, const QString& name) {
    if (T* found = window.findChild<T*>(name))
        return found;
    qFatal("%s has no control %s", qPrintable(window.objectName()), qPrintable(name));
}

inline void press(const QWidget& window, const QString& button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Every row of a grid, as ProgramDriver::gridRows() shows it, from row 1.
inline QStringList rows(const QWidget& window, const QString& grid) {
    return ProgramDriver::gridRows(*child<FlexGrid>(window, grid)).mid(1);
}

// The next showings of the Part Order Details dialog add what they offered ("quantity|comment")
// to offered, type the quantity and the comment, and leave by way: "ok", "enter", "cancel",
// "esc" or "frame". A dialog still open after that adds "open" and is cancelled.
inline void answerQuantity(ProgramDriver& app, QStringList& offered, const QString& quantity,
                           const QString& comment = {}, const QString& way = "ok") {
    app.dialogs.onWindow("frmOrderQuantity", [&offered, quantity, comment, way](QDialog& d) {
        auto* qty = child<QLineEdit>(d, "txtQty");
        auto* text = child<QLineEdit>(d, "txtComment");
        offered << qty->text() + "|" + text->text();
        qty->clear();
        QTest::keyClicks(qty, quantity);
        text->setText(comment);
        qty->setFocus();
        if (way == "ok" || way == "cancel")
            press(d, way == "ok" ? "cmdOK" : "cmdCancel");
        else if (way == "frame")
            d.close();
        else
            QTest::keyClick(qty, way == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        if (d.isVisible()) {
            offered << "open";
            press(d, "cmdCancel");
        }
    });
}

} // namespace quillon::tests
