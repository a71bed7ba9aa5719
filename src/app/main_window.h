#pragma once

#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace quillon {

struct ProgramState;
class AppFolder;
class Browser;
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

// frmMain, the one window that stays open for the whole run, and the composition root: it builds
// the frames, the menus and the Status bar, enters every control's event through the handler
// guard into its handler, and owns the command groups. The work behind a handler lives in the
// class of its subsystem; the handlers here hand over to it.
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

    // --- Start-up and shutdown
    // The load, once, before the window is shown: the user database made from its template when
    // missing, both stores opened, the vehicle list, the grid header, the status line, and the
    // resumption of an open order. Throws StartUpError when a file it needs is missing or can't
    // be opened, having created and changed nothing.
    void Form_Load();
    // Sets catalogueDb / userDb. Throw StartUpError naming the file and the folder.
    void openCatalogue();
    void openUserDatabase();
    // The last step of the load: takes up an order left open at the last run.
    void resumeOpenOrder();
    // The File menu's Exit.
    void mnuCloseItem_Click();
    // The window is closing, by Exit or by its close box; never cancelled.
    void Form_Unload();

    // --- Searches and the results grid
    void cmdSearchPart_Click();
    void cmdSearchDesc_Click();
    void txtPart_Change();
    void txtDesc_Change();
    void MSFlexGrid1_RowColChange();
    void MSFlexGrid1_DblClick();
    void cmdClear_Click();
    void mnuClearItem_Click();
    // --- Part Detail and the customer's prices
    void Image_Click(int slot); // Image1 ... Image9
    void cmdEnterFilePrice_Click();
    void cmdRemoveFilePrice_Click();
    // --- Orders
    void cmdStartOrder_Click();
    void mnuNewOrder_Click();
    void cmdOrder_Click();
    void mnuAddToOrder_Click();
    void cmdViewOrder_Click();
    void mnuOrderItem_Click();
    void mnuDeleteOrder_Click();
    void cmdFinaliseOrder_Click();
    void mnuFinaliseOrder_Click();
    void cmdPreviousOrders_Click();
    void mnuPreviousItem_Click();
    // --- Addresses
    void cmdOptions_Click();
    void mnuAddressItem_Click();
    // --- Housekeeping
    void mnuBackup_Click();
    void mnuRestore_Click();
    void mnuContentsItem_Click();
    void mnuAboutItem_Click();

    // --- MainWindowInterface
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void setOrderIndicatorEnabled(bool enabled) override;
    bool orderIndicatorEnabled() const override;
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCentralWidget();
    void showLogo();
    void fitToScreen();
    void buildMenus();
    void buildStatusBar();
    void wireEvents();
    void updateClock();
    void selectSearchTextOnReturn(QObject* watched, QEvent* event);
    QAction* addMenuItem(QMenu* menu, const QString& caption, const char* name,
                         const QKeySequence& shortcut, bool enabled);
    // Connects a signal to a handler of this window, entered through the guard.
    template <typename Sender, typename Signal>
    void route(Sender* sender, Signal signal, const QString& action, void (MainWindow::*handler)());

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

    // The work behind the search, results, Part Detail and Customer Retail handlers.
    std::unique_ptr<CustomPriceEditor> customPrices_;
    std::unique_ptr<PartDisplay> partDisplay_;
    std::unique_ptr<ResultsGrid> resultsGrid_;
    std::unique_ptr<PartSearch> searches_;

    QAction* mnuNewOrder_ = nullptr;
    QAction* mnuBackup_ = nullptr;
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

    std::array<QLabel*, 4> panels_{};
    QTimer* clock_ = nullptr;
    QPointer<QPushButton> defaultButton_;
    // The search box a click has just given the focus to.
    QPointer<QLineEdit> selectOnRelease_;
};

} // namespace quillon
