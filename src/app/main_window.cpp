#include "app/main_window.h"

#include "addresses/address_options_window.h"
#include "app/counter_keys.h"
#include "app/main_status_bar.h"
#include "app/start_up.h"
#include "app/tools_frame.h"
#include "catalogue/part_detail_frame.h"
#include "catalogue/part_display.h"
#include "catalogue/part_pictures.h"
#include "catalogue/part_search.h"
#include "catalogue/part_search_frames.h"
#include "catalogue/results_grid.h"
#include "catalogue/search_results_frame.h"
#include "housekeeping/about_window.h"
#include "housekeeping/help_window.h"
#include "housekeeping/user_data_backup.h"
#include "orders/order_finaliser.h"
#include "orders/order_lifecycle.h"
#include "orders/order_output.h"
#include "orders/order_part_adder.h"
#include "orders/order_summary.h"
#include "orders/previous_orders_window.h"
#include "platform/app_folder.h"
#include "platform/control_font.h"
#include "platform/dialogs.h"
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "platform/keyboard_access.h"
#include "platform/program_icon.h"
#include "platform/steady_layout_style.h"
#include "platform/user_settings.h"
#include "platform/window_memory.h"
#include "prices/custom_price_editor.h"
#include "prices/customer_retail_frame.h"
#include "session/program_state.h"
#include "store/locale_formats.h"

#include <QCloseEvent>
#include <QDate>
#include <QDebug>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

// The logo lives in a resource of this library; a static library's resources are registered by
// hand, from the global namespace.
static void initMainWindowResources() {
    Q_INIT_RESOURCE(main_window);
}

namespace quillon {

MainWindow::MainWindow(ProgramState& state, Dialogs& dialogs, Browser& browser,
                       const AppFolder& folder, QWidget* parent)
    : QMainWindow(parent), state_(state), folder_(folder),
      guard_(dialogs), context_{state, dialogs, browser, folder, guard_, *this} {
    initMainWindowResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvane Quillon"));
    setWindowIcon(ProgramIcon::icon());

    buildCentralWidget();
    buildMenus();
    status_ = std::make_unique<MainStatusBar>(statusBar());
    ControlFont::applyTo(this);
    showLogo();
    wireEvents();
    KeyboardAccess::prepare(this);
    setDefaultButton(partSearch_->cmdSearchPart);
    memory_ = std::make_unique<WindowMemory>(*this, *splitter_, *searchResults_->MSFlexGrid1);
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------------------------------
// Building the window

void MainWindow::buildCentralWidget() {
    // Below the size the frames need, the window's content scrolls: every control stays within
    // reach on a small screen or at a large scale.
    auto* scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("centralScrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setFocusPolicy(Qt::NoFocus); // the focus starts in the part number box
    // Laid out in one step: each search relayouts the window, and an animated layout would
    // repaint the scroll bars every time.
    auto* style = new SteadyLayoutStyle;
    style->setParent(scrollArea);
    scrollArea->setStyle(style);
    auto* central = new QWidget(scrollArea);
    central->setObjectName(QStringLiteral("centralWidget"));

    partSearch_ = new PartSearchFrames(context_, central);
    searchResults_ = new SearchResultsFrame(context_, central);
    tools_ = new ToolsFrame(central);
    partDetail_ = new PartDetailFrame(context_, central);
    customerRetail_ = new CustomerRetailFrame(context_, central);
    customPrices_ = std::make_unique<CustomPriceEditor>(context_, *customerRetail_);
    partDisplay_ = std::make_unique<PartDisplay>(context_, *partDetail_,
                                                 *searchResults_->MSFlexGrid1, *customPrices_);
    resultsGrid_ = std::make_unique<ResultsGrid>(context_, *searchResults_, *partDisplay_);
    searches_ = std::make_unique<PartSearch>(context_, *partSearch_, *resultsGrid_, *partDisplay_);
    keys_ = std::make_unique<CounterKeys>(*this, guard_, *partSearch_, *searchResults_->MSFlexGrid1,
                                          *customerRetail_, tools_->cmdOrder,
                                          [this] { cmdOrder_Click(); });

    picture1_ = new QLabel(central);
    picture1_->setObjectName(QStringLiteral("Picture1"));

    for (QPushButton* button : central->findChildren<QPushButton*>())
        button->setAutoDefault(true); // Enter presses the button that has the focus
    // The frames keep their controls close to their edges, so that the window fits a small
    // screen without scrolling.
    for (QGroupBox* frame : central->findChildren<QGroupBox*>()) {
        if (frame->layout() != nullptr)
            frame->layout()->setContentsMargins(3, 0, 3, 0);
    }
    // The frames a search repaints paint their own background: the window behind them isn't
    // painted again with them.
    for (QWidget* frame :
         std::initializer_list<QWidget*>{partSearch_, searchResults_, partDetail_, customerRetail_})
        frame->setAutoFillBackground(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(customerRetail_, 1);
    bottom->addWidget(picture1_, 0, Qt::AlignBottom);

    // Under the results, a splitter and the frames a part shows in; the results grid takes every
    // pixel of height they don't need, and the splitter moves it between the two.
    auto* partPane = new QWidget(central);
    partPane->setObjectName(QStringLiteral("partPane"));
    auto* partLayout = new QVBoxLayout(partPane);
    partLayout->setContentsMargins(0, 0, 0, 0);
    partLayout->setSpacing(2);
    partLayout->addWidget(tools_);
    partLayout->addWidget(partDetail_, 1);
    partLayout->addLayout(bottom);
    splitter_ = new QSplitter(Qt::Vertical, central);
    splitter_->setObjectName(QStringLiteral("resultsSplitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(4);
    splitter_->addWidget(searchResults_);
    splitter_->addWidget(partPane);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 1, 3, 1);
    layout->setSpacing(2);
    layout->addWidget(partSearch_);
    layout->addWidget(splitter_, 1);
    scrollArea->setWidget(central);
    setCentralWidget(scrollArea);

    setTabOrder(partSearch_->cmdSearchDesc, searchResults_->MSFlexGrid1);
    setTabOrder(searchResults_->MSFlexGrid1, tools_->cmdClear);
    setTabOrder(tools_->cmdOptions, partDetail_->images.front());
    for (std::size_t slot = 1; slot < partDetail_->images.size(); ++slot)
        setTabOrder(partDetail_->images[slot - 1], partDetail_->images[slot]);
    setTabOrder(partDetail_->images.back(), partDetail_->lstRoverSupers);
    setTabOrder(partDetail_->lstVehicleApplication, customerRetail_->txtFilePrice);
}

void MainWindow::showLogo() {
    // No taller than the Customer Retail frame beside it.
    const QPixmap logo(QStringLiteral(":/app/logo.jpg"));
    const int height = customerRetail_->sizeHint().height();
    const QPixmap shown = logo.isNull() || logo.height() <= height
                              ? logo
                              : logo.scaledToHeight(height, Qt::SmoothTransformation);
    picture1_->setPixmap(shown);
    picture1_->setFixedSize(shown.isNull() ? QSize(200, height) : shown.size());
}

void MainWindow::restoreLayout() {
    // 1080 x 720 where the screen has room for it.
    memory_->restore(UserSettings(), QSize(1080, 720));
}

void MainWindow::rememberLayout() {
    UserSettings settings; // as the file is now: what others keep there stays
    memory_->remember(settings);
    const QString failed = settings.save();
    if (!failed.isEmpty())
        qWarning().noquote() << "Dorvane Quillon can't remember its window:" << failed;
}

QAction* MainWindow::addMenuItem(QMenu* menu, const QString& caption, const char* name,
                                 const QKeySequence& shortcut, bool enabled) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(enabled);
    menu->addAction(action);
    return action;
}

void MainWindow::buildMenus() {
    const auto menu = [this](const QString& caption, const char* name) {
        QMenu* created = menuBar()->addMenu(caption);
        created->setObjectName(QString::fromLatin1(name));
        created->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
        return created;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };

    QMenu* file = menu(QStringLiteral("&File"), "mnuFile");
    mnuNewOrder_ =
        addMenuItem(file, QStringLiteral("&New Order"), "mnuNewOrder", ctrl(Qt::Key_N), true);
    separator(file, "mnuFileBar2");
    // Ctrl+P stays with Previous Orders; printing takes Ctrl+Shift+P.
    mnuPrintOrder_ = addMenuItem(file, QStringLiteral("&Print Order…"), "mnuPrintOrder",
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), false);
    mnuSaveOrderPdf_ =
        addMenuItem(file, QStringLiteral("&Save Order as PDF…"), "mnuSaveOrderPdf", {}, false);
    mnuExportOrderCsv_ =
        addMenuItem(file, QStringLiteral("Export Order as &CSV…"), "mnuExportOrderCsv", {}, false);
    mnuEmailOrder_ =
        addMenuItem(file, QStringLiteral("&E-mail Order…"), "mnuEmailOrder", {}, false);
    separator(file, "mnuFileBar3");
    mnuBackup_ =
        addMenuItem(file, QStringLiteral("&Backup Data"), "mnuBackup", ctrl(Qt::Key_B), true);
    separator(file, "mnuFileBar1");
    mnuCloseItem_ =
        addMenuItem(file, QStringLiteral("E&xit"), "mnuCloseItem", ctrl(Qt::Key_X), true);

    QMenu* edit = menu(QStringLiteral("&Edit"), "mnuEdit");
    mnuAddToOrder_ =
        addMenuItem(edit, QStringLiteral("&Add to Order"), "mnuAddToOrder", ctrl(Qt::Key_A), false);
    mnuDeleteOrder_ = addMenuItem(edit, QStringLiteral("&Delete Order"), "mnuDeleteOrder",
                                  ctrl(Qt::Key_D), false);
    mnuFinaliseOrder_ = addMenuItem(edit, QStringLiteral("&Finalise Order"), "mnuFinaliseOrder",
                                    ctrl(Qt::Key_F), false);
    separator(edit, "mnuEditBar1");
    mnuClearItem_ =
        addMenuItem(edit, QStringLiteral("&Clear"), "mnuClearItem", ctrl(Qt::Key_C), false);

    QMenu* view = menu(QStringLiteral("&View"), "mnuView");
    mnuOrderItem_ =
        addMenuItem(view, QStringLiteral("&View Order"), "mnuOrderItem", ctrl(Qt::Key_V), false);
    mnuPreviousItem_ = addMenuItem(view, QStringLiteral("&Previous Orders"), "mnuPreviousItem",
                                   ctrl(Qt::Key_P), true);
    mnuAddressItem_ = addMenuItem(view, QStringLiteral("Address &Options"), "mnuAddressItem",
                                  ctrl(Qt::Key_O), true);

    QMenu* help = menu(QStringLiteral("&Help"), "mnuHelp");
    mnuContentsItem_ = addMenuItem(help, QStringLiteral("&Program Help"), "mnuContentsItem",
                                   ctrl(Qt::Key_H), true);
    mnuRestore_ = addMenuItem(help, QStringLiteral("&Restore User Data"), "mnuRestore",
                              ctrl(Qt::Key_R), true);
    separator(help, "mnuHelpBar1");
    mnuAboutItem_ =
        addMenuItem(help, QStringLiteral("Abou&t"), "mnuAboutItem", ctrl(Qt::Key_T), true);
}

template <typename Sender, typename Signal>
void MainWindow::route(Sender* sender, Signal signal, const QString& action,
                       std::function<void()> work) {
    connect(sender, signal, this,
            [this, action, work = std::move(work)] { guard_.run(action, work); });
}

void MainWindow::command(QPushButton* button, QAction* item, const QString& action,
                         const std::function<void()>& work) {
    if (button != nullptr)
        route(button, &QPushButton::clicked, action, work);
    if (item != nullptr)
        route(item, &QAction::triggered, action, work);
}

template <typename Window, typename... Args> void MainWindow::showModal(Args&&... args) {
    Window window(std::forward<Args>(args)..., this);
    context_.dialogs.showModal(window);
}

void MainWindow::wireEvents() {
    PartSearchFrames& search = *partSearch_;
    command(search.cmdSearchPart, nullptr, QStringLiteral("search for the part number"),
            [this] { searches_->cmdSearchPart_Click(); });
    command(search.cmdSearchDesc, nullptr, QStringLiteral("search for the part description"),
            [this] { searches_->cmdSearchDesc_Click(); });
    // The default button follows the focus (CounterKeys): Enter searches the box it is in.

    FlexGrid* grid = searchResults_->MSFlexGrid1;
    route(grid, &FlexGrid::rowColChange, QStringLiteral("show the part"),
          [this] { resultsGrid_->MSFlexGrid1_RowColChange(); });
    // MSFlexGrid1_DblClick is Add to Order.
    route(grid, &FlexGrid::dblClick, QStringLiteral("add the part to the order"),
          [this] { cmdOrder_Click(); });
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &FlexGrid::customContextMenuRequested, this, [this](const QPoint& position) {
        guard_.run(QStringLiteral("copy the part number"),
                   [this, position] { resultsGrid_->MSFlexGrid1_ContextMenu(position); });
    });

    command(tools_->cmdClear, mnuClearItem_, QStringLiteral("clear the search results"),
            [this] { resultsGrid_->cmdClear_Click(); });
    command(tools_->cmdStartOrder, mnuNewOrder_, QStringLiteral("start a new order"),
            [this] { OrderLifecycle(context_).cmdStartOrder_Click(); });
    command(tools_->cmdOrder, mnuAddToOrder_, QStringLiteral("add the part to the order"),
            [this] { cmdOrder_Click(); });
    command(tools_->cmdViewOrder, mnuOrderItem_, QStringLiteral("show the order"),
            [this] { OrderLifecycle(context_).cmdViewOrder_Click(); });
    command(nullptr, mnuDeleteOrder_, QStringLiteral("delete the order"),
            [this] { OrderLifecycle(context_).mnuDeleteOrder_Click(); });
    command(tools_->cmdFinaliseOrder, mnuFinaliseOrder_, QStringLiteral("finalise the order"),
            [this] { OrderFinaliser(context_).cmdFinaliseOrder_Click(); });
    for (const auto& [item, kind, action] :
         {std::tuple{mnuPrintOrder_, OrderOutput::Kind::Print, "print the order"},
          std::tuple{mnuSaveOrderPdf_, OrderOutput::Kind::Pdf, "save the order as PDF"},
          std::tuple{mnuExportOrderCsv_, OrderOutput::Kind::Csv, "export the order as CSV"},
          std::tuple{mnuEmailOrder_, OrderOutput::Kind::Email, "e-mail the order"}})
        command(nullptr, item, QString::fromLatin1(action),
                [this, kind] { OrderOutput(context_).openOrder(kind); });
    command(tools_->cmdPreviousOrders, mnuPreviousItem_, QStringLiteral("show the previous orders"),
            [this] { showModal<PreviousOrdersWindow>(context_); });
    command(tools_->cmdOptions, mnuAddressItem_, QStringLiteral("show the address options"),
            [this] { showModal<AddressOptionsWindow>(context_); });

    command(customerRetail_->cmdEnterFilePrice, nullptr, QStringLiteral("store the custom price"),
            [this] { customPrices_->cmdEnterFilePrice_Click(); });
    command(customerRetail_->cmdRemoveFilePrice, nullptr, QStringLiteral("remove the custom price"),
            [this] { customPrices_->cmdRemoveFilePrice_Click(); });
    for (std::size_t index = 0; index < partDetail_->images.size(); ++index) {
        const int slot = static_cast<int>(index) + 1;
        route(partDetail_->images[index], &ImageBox::clicked, QStringLiteral("open the picture"),
              [this, slot] { PartPictures(context_).openPicture(slot); });
    }

    command(nullptr, mnuBackup_, QStringLiteral("back up the user data"),
            [this] { UserDataBackup(state_, context_.dialogs, folder_).mnuBackup_Click(); });
    command(nullptr, mnuRestore_, QStringLiteral("show how to restore the user data"),
            [this] { UserDataBackup(state_, context_.dialogs, folder_).mnuRestore_Click(); });
    command(nullptr, mnuContentsItem_, QStringLiteral("show the program help"),
            [this] { showModal<HelpWindow>(folder_.helpText()); });
    command(nullptr, mnuAboutItem_, QStringLiteral("show the About window"),
            [this] { showModal<AboutWindow>(folder_.aboutText()); });
    command(nullptr, mnuCloseItem_, QStringLiteral("exit"), [this] { mnuCloseItem_Click(); });
}

// ------------------------------------------------------------------------------------------
// Exit and shutdown

void MainWindow::mnuCloseItem_Click() {
    if (!state_.orderActive) {
        close();
        return;
    }
    const auto answer = context_.dialogs.messageBox(
        QStringLiteral("There is an order in progress.\r\n\r\nDo you still want to exit?"),
        Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, QStringLiteral("Order in Progress"));
    if (answer == Dialogs::Button::Yes)
        close();
}

void MainWindow::Form_Unload() {
    if (state_.orderActive)
        context_.dialogs.messageBox(QStringLiteral("There is an order in progress.\r\n\r\nThe "
                                                   "order will be available when Quillon is next "
                                                   "opened."),
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                                    QStringLiteral("Order in Progress"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    guard_.run(QStringLiteral("close the window"), [this] { Form_Unload(); });
    rememberLayout();
    status_->stopClock();
    event->accept(); // the unload is never cancelled
}

// An Enter that no control took.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!keys_->enterPressed(event))
        QMainWindow::keyPressEvent(event);
}

// ------------------------------------------------------------------------------------------
// MainWindowInterface

void MainWindow::setStatusText(const QString& text) {
    status_->setStatusText(text);
}

QString MainWindow::statusText() const {
    return status_->statusText();
}

void MainWindow::setOrderIndicatorEnabled(bool enabled) {
    // ORD and the summary beside it change together: an order opened, resumed, deleted or
    // completed.
    status_->setOrderIndicatorEnabled(enabled);
    if (enabled)
        showOrderSummary();
}

void MainWindow::showOrderSummary() {
    status_->setOrderSummary(OrderSummary::text(state_));
}

bool MainWindow::orderIndicatorEnabled() const {
    return status_->orderIndicatorEnabled();
}

void MainWindow::setOrderCommandsEnabled(bool enabled) {
    tools_->cmdOrder->setEnabled(enabled);
    mnuAddToOrder_->setEnabled(enabled);
    mnuDeleteOrder_->setEnabled(enabled);
    tools_->cmdViewOrder->setEnabled(enabled);
    mnuOrderItem_->setEnabled(enabled);
    for (QAction* item : {mnuPrintOrder_, mnuSaveOrderPdf_, mnuExportOrderCsv_, mnuEmailOrder_})
        item->setEnabled(enabled);
}

void MainWindow::setFinaliseCommandsEnabled(bool enabled) {
    tools_->cmdFinaliseOrder->setEnabled(enabled);
    mnuFinaliseOrder_->setEnabled(enabled);
}

void MainWindow::setClearCommandsEnabled(bool enabled) {
    tools_->cmdClear->setEnabled(enabled);
    mnuClearItem_->setEnabled(enabled);
}

void MainWindow::setDefaultButton(QPushButton* button) {
    // Set again when it is the same button: a button that had the focus gives up its default
    // mark as it loses the focus.
    if (defaultButton_ && defaultButton_ != button)
        defaultButton_->setDefault(false);
    defaultButton_ = button;
    if (defaultButton_)
        defaultButton_->setDefault(true);
}

void MainWindow::repaintNow() {
    // What a handler empties before its slow part: the results, Part Detail and the customer's
    // prices. Repainting only these keeps a search fast on a large window.
    searchResults_->repaint();
    partDetail_->repaint();
    customerRetail_->repaint();
}

void MainWindow::cmdOrder_Click() {
    if (OrderPartAdder(context_).cmdOrder_Click())
        keys_->focusPartNumber();
}

} // namespace quillon
