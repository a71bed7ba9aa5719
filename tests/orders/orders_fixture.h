#pragma once

#include "program_run.h"
#include "store/money.h"
#include "test_app_folder.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QDialog;

namespace quillon {
class FlexGrid;
}

namespace quillon::tests {

// A catalogue part as Part Detail shows it.
struct ShownPart {
    QString dorvaneNum;
    QString roverNum;
    QString description;
    QString unitIssue;
    Money customerPrice;
    Money lrPrice;
    qint32 id = 1;
};

// An orderParts row as the User database holds it.
struct StoredLine {
    qint32 id = 0;
    qint32 orderNum = 0;
    QString dorvaneNum;
    QString roverNum;
    QString description;
    qint64 quantity = 0;
    Money price;
    QString comments;
};

// What the Part Order Details dialog offered when it came up, and how it was left.
struct QuantityDialogSeen {
    QString caption;
    QString part; // named above the boxes: "<numbers> / <description>"
    QString offeredQuantity;
    QString offeredComment;
    bool closedByScript = true; // false: the script left it open for the test to see
};

// A fresh Application folder with an empty User database made by the schema, the real main
// window started on it with the scripted dialogs, and the steps a user takes with orders.
class OrdersFixture : public TestAppFolder, public ProgramRun {
public:
    OrdersFixture();
    ~OrdersFixture();

    // --- Before the start: the User database as the last run left it.
    void seed(const QString& statement);
    void seedOrder(qint32 orderNum, bool completed);
    void seedLine(qint32 orderNum, const QString& dorvaneNum, const QString& roverNum,
                  const QString& description, qint64 quantity, const QString& price,
                  const QString& comments);

    // Starts the program on the folder (its load takes up an open order); true when the window
    // came up.
    [[nodiscard]] bool start() { return startShown(folder); }

    // --- What the user does
    void newOrder();    // the New Order button
    void deleteOrder(); // Edit > Delete Order
    void viewOrder();   // the View Order button
    void addToOrder();  // the Add to Order button
    // The same commands reached some other way while their button and menu item are disabled.
    void viewOrderHandler();
    void deleteOrderHandler();
    void addToOrderHandler();
    // The order form printing's last step.
    void completeOrder();

    // The part Part Detail shows, listed in the results grid.
    void showPart(const ShownPart& part);
    // A customer's own price record for a part; an empty price leaves CustomerPrice Null.
    void addCustomPrice(const QString& dorvaneNum, const QString& roverNum, const QString& price);

    // --- The Part Order Details dialog: the next showings type these values and press OK
    // (answerQuantity), or press Cancel.
    void answerQuantity(const QString& quantity, const QString& comment);
    void cancelQuantity();
    // Every showing of the dialog, in order.
    QList<QuantityDialogSeen> quantityDialogs;

    // --- The View Parts Order window: the next showings run this script (default: record the
    // grid and press OK).
    using ViewScript = std::function<void(QDialog&)>;
    void onViewOrder(ViewScript script);
    // The grid rows (header row 0 included) of each showing, as the default script saw them.
    QList<QList<QStringList>> viewedGrids;

    // --- What the user sees, also while the window is still loading
    QWidget* mainWindow() const;
    QString status() const; // panel 1 of the Status bar
    // "order on|off|mixed, finalise on|off|mixed, ORD on|off": the order commands (buttons and
    // menu items), the finalise commands and panel 2.
    QString commands() const;
    bool isEnabled(const QString& name) const; // a button or menu item of the main window

    // --- What the store holds
    QList<StoredLine> lines(qint32 orderNum) const;
    QList<StoredLine> allLines() const;
    // OrderNum and OrderStatus of every order, as "7 open", "3 completed".
    QStringList orders() const;

    static QStringList gridRow(const FlexGrid& grid, int row);
    static QList<QStringList> gridTexts(const FlexGrid& grid);

private:
    void click(const QString& buttonName);
    void trigger(const QString& actionName);
};

} // namespace quillon::tests
