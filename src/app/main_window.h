#pragma once

#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;

namespace quillon {

struct ProgramState;
class AppFolder;
class Browser;
class CounterKeys;
class MainStatusBar;
class CustomPriceEditor;
class CustomerRetailFrame;
class Dialogs;
class PartDetailFrame;
class PartDisplay;
class PartSearch;
class PartSearchFrames;
class ResultsGrid;
class SearchResultsFrame;
class ToolsFrame;
class WindowMemory;

// frmMain, the one window that stays open for the whole run, and the composition root: it builds
// the frames, the menus and the Status bar, enters every control's event through the handler
// guard into the subsystem object that does its work, and owns the command groups.
class MainWindow final : public QMainWindow, public MainWindowInterface {
    Q_OBJECT

public:
    MainWindow(ProgramState& state, Dialogs& dialogs, Browser& browser, const AppFolder& folder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return context_; }
    HandlerGuard& guard() { return guard_; }

    PartSearchFrames& partSearch() const { return *partSearch_; }
    SearchResultsFrame& searchResults() const { return *searchResults_; }
    ToolsFrame& tools() const { return *tools_; }
    PartDetailFrame& partDetail() const { return *partDetail_; }
    CustomerRetailFrame& customerRetail() const { return *customerRetail_; }

    static QString startStatusText() {
        return QStringLiteral("Dorvane Quillon - enter a part number or part description");
    }

    // The size, place, split and column widths the user left the window with (before it is
    // shown, once the grid is set up); they are remembered again as the window closes.
    void restoreLayout();

    // The File menu's Exit.
    void mnuCloseItem_Click();
    // The window is closing, by Exit or by its close box; never cancelled.
    void Form_Unload();
    // Add to Order (cmdOrder, mnuAddToOrder, a double click or Enter on the results): the focus
    // goes back to the part number once the part is on the order.
    void cmdOrder_Click();

    // --- MainWindowInterface
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void setOrderIndicatorEnabled(bool enabled) override;
    bool orderIndicatorEnabled() const override;
    void showOrderSummary() override;
    void setOrderCommandsEnabled(bool enabled) override;
    void setFinaliseCommandsEnabled(bool enabled) override;
    void setClearCommandsEnabled(bool enabled) override;
    void setDefaultButton(QPushButton* button) override;
    QPushButton* defaultButton() const override { return defaultButton_; }
    void repaintNow() override;
    QWidget* windowWidget() override { return this; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildCentralWidget();
    void showLogo();
    void rememberLayout();
    void buildMenus();
    void wireEvents();
    QAction* addMenuItem(QMenu* menu, const QString& caption, const char* name,
                         const QKeySequence& shortcut, bool enabled);
    // Connects a signal to the work of its subsystem, entered through the guard; command
    // connects a button and the menu item that shares its action.
    template <typename Sender, typename Signal>
    void route(Sender* sender, Signal signal, const QString& action, std::function<void()> work);
    void command(QPushButton* button, QAction* item, const QString& action,
                 const std::function<void()>& work);
    template <typename Window, typename... Args> void showModal(Args&&... args);

    ProgramState& state_;
    const AppFolder& folder_;
    HandlerGuard guard_;
    AppContext context_;

    PartSearchFrames* partSearch_ = nullptr;
    SearchResultsFrame* searchResults_ = nullptr;
    ToolsFrame* tools_ = nullptr;
    PartDetailFrame* partDetail_ = nullptr;
    CustomerRetailFrame* customerRetail_ = nullptr;
    QLabel* picture1_ = nullptr;
    QSplitter* splitter_ = nullptr;
    std::unique_ptr<WindowMemory> memory_;

    // The work behind the search, results, Part Detail and Customer Retail handlers.
    std::unique_ptr<CustomPriceEditor> customPrices_;
    std::unique_ptr<PartDisplay> partDisplay_;
    std::unique_ptr<ResultsGrid> resultsGrid_;
    std::unique_ptr<PartSearch> searches_;

    QAction* mnuNewOrder_ = nullptr;
    QAction* mnuBackup_ = nullptr;
    // The open order printed, saved as PDF, exported as CSV, e-mailed; enabled with the order.
    QAction* mnuPrintOrder_ = nullptr;
    QAction* mnuSaveOrderPdf_ = nullptr;
    QAction* mnuExportOrderCsv_ = nullptr;
    QAction* mnuEmailOrder_ = nullptr;
    QAction* mnuCloseItem_ = nullptr;
    QAction* mnuAddToOrder_ = nullptr;
    QAction* mnuDeleteOrder_ = nullptr;
    QAction* mnuFinaliseOrder_ = nullptr;
    QAction* mnuClearItem_ = nullptr;
    QAction* mnuOrderItem_ = nullptr;
    QAction* mnuPreviousItem_ = nullptr;
    QAction* mnuAddressItem_ = nullptr;
    QAction* mnuContentsItem_ = nullptr;
    QAction* mnuRestore_ = nullptr;
    QAction* mnuAboutItem_ = nullptr;

    std::unique_ptr<MainStatusBar> status_;
    QPointer<QPushButton> defaultButton_;
    // Last, so that it stops watching the events before the controls go.
    std::unique_ptr<CounterKeys> keys_;
};

} // namespace quillon
