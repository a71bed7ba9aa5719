#pragma once

#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "test_app_folder.h"

#include <QStringList>
#include <QWidget>

namespace quillon {
class AddressTable;
}

namespace quillon::tests {

// The main window as the order windows see it: remembers what they set.
class StubMainWindow final : public MainWindowInterface {
public:
    void setStatusText(const QString& text) override { status = text; }
    QString statusText() const override { return status; }
    void setOrderIndicatorEnabled(bool enabled) override { orderIndicator = enabled; }
    bool orderIndicatorEnabled() const override { return orderIndicator; }
    void setOrderCommandsEnabled(bool enabled) override { orderCommands = enabled; }
    void setFinaliseCommandsEnabled(bool enabled) override { finaliseCommands = enabled; }
    void setClearCommandsEnabled(bool enabled) override { clearCommands = enabled; }
    void setDefaultButton(QPushButton* button) override { defaultButton_ = button; }
    QPushButton* defaultButton() const override { return defaultButton_; }
    void repaintNow() override {}
    QWidget* windowWidget() override { return &widget; }

    QString status;
    bool orderIndicator = false;
    bool orderCommands = false;
    bool finaliseCommands = false;
    bool clearCommands = false;
    QWidget widget;

private:
    QPushButton* defaultButton_ = nullptr;
};

// A fresh Application folder with an empty User database, the catalogue and the User database
// open in the program state, and the order form templates (copied from the shipped data folder),
// with the scripted dialogs and the recording browser.
class OrderFixture : public TestAppFolder {
public:
    OrderFixture();

    // --- stores
    void addCataloguePart(const QString& dorvaneNum, const QString& roverNum,
                          const QString& description);
    // A new order; completed or open. Returns its OrderNum.
    qint32 addOrder(bool completed, const QString& date = QStringLiteral("01/03/2026"));
    // A new order that is the current one, as New Order leaves it.
    qint32 startOrder();
    void addLine(qint32 orderNum, const QString& dorvaneNum, const QString& roverNum,
                 const QString& description, const QString& quantity, const QString& price,
                 const QString& comments = {});
    // fields: up to eight texts for ContactName, Address1 ... 5, Postcode, Tel (missing: Null).
    void addAddress(const AddressTable& table, const QString& name, const QStringList& fields);
    // The record's eight fields as texts; empty when there is no such record.
    QStringList addressFields(const AddressTable& table, const QString& name) const;
    int addressCount(const AddressTable& table) const;
    bool orderCompleted(qint32 orderNum) const;

    // --- files
    void writeFile(const QString& name, const QByteArray& bytes) const;
    // printOrder.html without its byte-order mark, decoded; empty when there is none.
    QString page() const;
    QByteArray pageBytes() const;
    bool pageExists() const;

    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    HandlerGuard guard;
    StubMainWindow window;
    AppContext context;
};

// The locale the tests expect amounts in (£1,234.50): set before the application starts.
void useUnitedKingdomSettings();

} // namespace quillon::tests
