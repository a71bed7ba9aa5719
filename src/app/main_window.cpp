#include "app/main_window.h"

#include "addresses/address_options_window.h"
#include "session/program_state.h"
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
#include "orders/order_lifecycle.h"
#include "orders/order_part_adder.h"
#include "orders/previous_orders_window.h"
#include "platform/app_folder.h"
#include "platform/control_font.h"
#include "platform/dialogs.h"
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "prices/custom_price_editor.h"
#include "prices/customer_retail_frame.h"
#include "printing/order_form_printing.h"
#include "store/locale_formats.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

// The logo lives in a resource of this library; a static library's resources are registered by
// hand, from the global namespace.
static void initMainWindowResources() {
    Q_INIT_RESOURCE(main_window);
}

namespace quillon {

namespace {

// A box the user types into: while it has the focus, the clipboard keys edit it.
bool isTextEntry(const QObject* object) {
    if (qobject_cast<const QLineEdit*>(object) || qobject_cast<const QTextEdit*>(object) ||
        qobject_cast<const QPlainTextEdit*>(object) ||
        qobject_cast<const QAbstractSpinBox*>(object))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(object);
    return combo != nullptr && combo->isEditable();
}

bool isClipboardKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
           key->matches(QKeySequence::Cut) || key->matches(QKeySequence::SelectAll);
}

// What Ctrl+C copies from a value that can be selected but not edited (a Part Detail value, an
// entry of its lists): the selected text, or else the whole value. Nothing for other controls.
std::optional<QString> valueToCopy(const QObject* object) {
    if (const auto* label = qobject_cast<const QLabel*>(object);
        label != nullptr && (label->textInteractionFlags() & Qt::TextSelectableByMouse))
        return label->hasSelectedText() ? label->selectedText() : label->text();
    if (const auto* list = qobject_cast<const QListWidget*>(object))
        return list->currentItem() != nullptr ? list->currentItem()->text() : QString();
    return std::nullopt;
}

} // namespace

MainWindow::MainWindow(ProgramState& state, Dialogs& dialogs, Browser& browser,
                       const AppFolder& folder, QWidget* parent)
    : QMainWindow(parent), state_(state), folder_(folder),
      guard_(dialogs), context_{state, dialogs, browser, folder, guard_, *this} {
    initMainWindowResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvane Quillon"));

    buildCentralWidget();
    buildMenus();
    buildStatusBar();
    ControlFont::applyTo(this);
    showLogo();
    wireEvents();
    setDefaultButton(partSearch_->cmdSearchPart);
    qApp->installEventFilter(this);

    fitToScreen();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

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

    picture1_ = new QLabel(central);
    picture1_->setObjectName(QStringLiteral("Picture1"));

    for (QPushButton* button : central->findChildren<QPushButton*>())
        button->setAutoDefault(true); // Enter presses the button that has the focus
    // The frames keep their controls close to their edges, so that the window fits a small
    // screen without scrolling.
    for (QGroupBox* frame : central->findChildren<QGroupBox*>()) {
        if (frame->layout() != nullptr)
            frame->layout()->setContentsMargins(6, 2, 6, 4);
    }
    // The frames a search repaints paint their own background: the window behind them isn't
    // painted again with them.
    for (QWidget* frame :
         std::initializer_list<QWidget*>{partSearch_, searchResults_, partDetail_, customerRetail_})
        frame->setAutoFillBackground(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(customerRetail_, 1);
    bottom->addWidget(picture1_, 0, Qt::AlignBottom);

    // The results grid takes every pixel of height the other frames don't need.
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(4);
    layout->addWidget(partSearch_);
    layout->addWidget(searchResults_, 1);
    layout->addWidget(tools_);
    layout->addWidget(partDetail_);
    layout->addLayout(bottom);
    scrollArea->setWidget(central);
    setCentralWidget(scrollArea);

    setTabOrder(partSearch_->cmdSearchDesc, searchResults_->MSFlexGrid1);
    setTabOrder(searchResults_->MSFlexGrid1, tools_->cmdClear);
    setTabOrder(tools_->cmdOptions, partDetail_->lstRoverSupers);
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

void MainWindow::fitToScreen() {
    // 1080 x 720 where the screen has room for it and for the window's frame and a panel;
    // otherwise the room the screen has.
    constexpr QSize preferred(1080, 720);
    constexpr QSize frameAllowance(16, 40);
    const QScreen* screen = this->screen();
    const QSize room =
        screen != nullptr ? screen->availableGeometry().size() - frameAllowance : preferred;
    resize(preferred.boundedTo(room).expandedTo(minimumSizeHint()));
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

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const QString toolTips[] = {QStringLiteral("Program Status"), QStringLiteral("Order Status"),
                                QStringLiteral("Time"), QStringLiteral("Date")};
    for (int index = 0; index < 4; ++index) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(index + 1));
        panel->setToolTip(toolTips[index]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setContentsMargins(4, 0, 4, 0);
        panels_[static_cast<std::size_t>(index)] = panel;
    }
    panels_[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panels_[1]->setText(QStringLiteral("ORD"));
    panels_[1]->setAlignment(Qt::AlignCenter);
    panels_[1]->setMinimumWidth(50);
    panels_[1]->setEnabled(false);
    panels_[2]->setAlignment(Qt::AlignCenter);
    panels_[2]->setMinimumWidth(70);
    panels_[3]->setAlignment(Qt::AlignCenter);
    panels_[3]->setMinimumWidth(100);
    bar->addPermanentWidget(panels_[0], 1);
    for (std::size_t index = 1; index < panels_.size(); ++index)
        bar->addPermanentWidget(panels_[index]);

    updateClock();
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &MainWindow::updateClock);
    clock_->start();
}

void MainWindow::updateClock() {
    const QLocale locale = LocaleFormats::systemLocale();
    panels_[2]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    panels_[3]->setText(LocaleFormats(locale).shortDate(QDate::currentDate()));
}

template <typename Sender, typename Signal>
void MainWindow::route(Sender* sender, Signal signal, const QString& action,
                       void (MainWindow::*handler)()) {
    connect(sender, signal, this, [this, action, handler] {
        guard_.run(action, [this, handler] { (this->*handler)(); });
    });
}

void MainWindow::wireEvents() {
    PartSearchFrames& search = *partSearch_;
    route(search.cmdSearchPart, &QPushButton::clicked, QStringLiteral("search for the part number"),
          &MainWindow::cmdSearchPart_Click);
    route(search.cmdSearchDesc, &QPushButton::clicked,
          QStringLiteral("search for the part description"), &MainWindow::cmdSearchDesc_Click);
    route(search.txtPart, &QLineEdit::textChanged, QStringLiteral("take the part number"),
          &MainWindow::txtPart_Change);
    route(search.txtDesc, &QLineEdit::textChanged, QStringLiteral("take the keyword"),
          &MainWindow::txtDesc_Change);

    FlexGrid* grid = searchResults_->MSFlexGrid1;
    route(grid, &FlexGrid::rowColChange, QStringLiteral("show the part"),
          &MainWindow::MSFlexGrid1_RowColChange);
    route(grid, &FlexGrid::dblClick, QStringLiteral("add the part to the order"),
          &MainWindow::MSFlexGrid1_DblClick);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &FlexGrid::customContextMenuRequested, this, [this](const QPoint& position) {
        guard_.run(QStringLiteral("copy the part number"),
                   [this, position] { resultsGrid_->MSFlexGrid1_ContextMenu(position); });
    });

    route(tools_->cmdClear, &QPushButton::clicked, QStringLiteral("clear the search results"),
          &MainWindow::cmdClear_Click);
    route(mnuClearItem_, &QAction::triggered, QStringLiteral("clear the search results"),
          &MainWindow::mnuClearItem_Click);
    route(tools_->cmdStartOrder, &QPushButton::clicked, QStringLiteral("start a new order"),
          &MainWindow::cmdStartOrder_Click);
    route(mnuNewOrder_, &QAction::triggered, QStringLiteral("start a new order"),
          &MainWindow::mnuNewOrder_Click);
    route(tools_->cmdOrder, &QPushButton::clicked, QStringLiteral("add the part to the order"),
          &MainWindow::cmdOrder_Click);
    route(mnuAddToOrder_, &QAction::triggered, QStringLiteral("add the part to the order"),
          &MainWindow::mnuAddToOrder_Click);
    route(tools_->cmdViewOrder, &QPushButton::clicked, QStringLiteral("show the order"),
          &MainWindow::cmdViewOrder_Click);
    route(mnuOrderItem_, &QAction::triggered, QStringLiteral("show the order"),
          &MainWindow::mnuOrderItem_Click);
    route(mnuDeleteOrder_, &QAction::triggered, QStringLiteral("delete the order"),
          &MainWindow::mnuDeleteOrder_Click);
    route(tools_->cmdFinaliseOrder, &QPushButton::clicked, QStringLiteral("finalise the order"),
          &MainWindow::cmdFinaliseOrder_Click);
    route(mnuFinaliseOrder_, &QAction::triggered, QStringLiteral("finalise the order"),
          &MainWindow::mnuFinaliseOrder_Click);
    route(tools_->cmdPreviousOrders, &QPushButton::clicked,
          QStringLiteral("show the previous orders"), &MainWindow::cmdPreviousOrders_Click);
    route(mnuPreviousItem_, &QAction::triggered, QStringLiteral("show the previous orders"),
          &MainWindow::mnuPreviousItem_Click);
    route(tools_->cmdOptions, &QPushButton::clicked, QStringLiteral("show the address options"),
          &MainWindow::cmdOptions_Click);
    route(mnuAddressItem_, &QAction::triggered, QStringLiteral("show the address options"),
          &MainWindow::mnuAddressItem_Click);

    route(customerRetail_->cmdEnterFilePrice, &QPushButton::clicked,
          QStringLiteral("store the custom price"), &MainWindow::cmdEnterFilePrice_Click);
    route(customerRetail_->cmdRemoveFilePrice, &QPushButton::clicked,
          QStringLiteral("remove the custom price"), &MainWindow::cmdRemoveFilePrice_Click);
    for (std::size_t index = 0; index < partDetail_->images.size(); ++index) {
        const int slot = static_cast<int>(index) + 1;
        connect(partDetail_->images[index], &ImageBox::clicked, this, [this, slot] {
            guard_.run(QStringLiteral("open the picture"), [this, slot] { Image_Click(slot); });
        });
    }

    route(mnuBackup_, &QAction::triggered, QStringLiteral("back up the user data"),
          &MainWindow::mnuBackup_Click);
    route(mnuRestore_, &QAction::triggered, QStringLiteral("show how to restore the user data"),
          &MainWindow::mnuRestore_Click);
    route(mnuContentsItem_, &QAction::triggered, QStringLiteral("show the program help"),
          &MainWindow::mnuContentsItem_Click);
    route(mnuAboutItem_, &QAction::triggered, QStringLiteral("show the About window"),
          &MainWindow::mnuAboutItem_Click);
    route(mnuCloseItem_, &QAction::triggered, QStringLiteral("exit"),
          &MainWindow::mnuCloseItem_Click);
}

// ------------------------------------------------------------------------------------------
// Start-up and shutdown

void MainWindow::Form_Load() {
    StartUp::checkFiles(folder_);
    const bool created = StartUp::createUserDatabase(folder_);
    bool catalogueOpen = false;
    try {
        openCatalogue();
        catalogueOpen = true;
        openUserDatabase();
    } catch (const StartUpError& error) {
        state_.catalogueDb.reset();
        state_.userDb.reset();
        if (!created)
            throw;
        QFile::remove(folder_.userDatabase()); // the start leaves nothing behind
        if (!catalogueOpen)
            throw;
        // The copy of the template is what failed to open: the template is at fault.
        throw StartUpError(QStringLiteral("The empty user database %1 in the folder %2 is not a "
                                          "usable store.\r\n\r\n%3")
                               .arg(QFileInfo(folder_.userTemplate()).fileName(),
                                    QDir::toNativeSeparators(folder_.path()), error.message()));
    }
    partSearch_->addVehicles();
    searchResults_->setUpGrid();
    setStatusText(startStatusText());
    guard_.run(QStringLiteral("take up the open order"), [this] { resumeOpenOrder(); });
}

void MainWindow::openCatalogue() {
    state_.catalogueDb = StartUp::openStore(folder_.catalogue(), Database::Access::ReadOnly);
}

void MainWindow::openUserDatabase() {
    state_.userDb = StartUp::openStore(folder_.userDatabase(), Database::Access::ReadWrite);
}

void MainWindow::resumeOpenOrder() {
    OrderLifecycle(context_).resumeOpenOrder();
}

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
    clock_->stop();
    event->accept(); // the unload is never cancelled
}

// ------------------------------------------------------------------------------------------
// Keys

// Enter that no control took: on a row of the results it adds the row's part to the order, as
// a double click does; in a Customer Retail box it stores the prices (Enter/Update); anywhere
// else it presses the default button, the Search of the box last edited.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    QWidget* focus = QApplication::focusWidget();
    FlexGrid* grid = searchResults_->MSFlexGrid1;
    if (focus == grid && grid->rows() > 1) {
        event->accept();
        guard_.run(QStringLiteral("add the part to the order"), [this] { MSFlexGrid1_DblClick(); });
        return;
    }
    const bool inPriceBox =
        qobject_cast<QLineEdit*>(focus) != nullptr && customerRetail_->isAncestorOf(focus);
    QPushButton* button = inPriceBox ? customerRetail_->cmdEnterFilePrice : defaultButton_.data();
    if (button != nullptr && button->isEnabled() && button->isVisible()) {
        event->accept();
        button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// The focus comes back to a search box from another control: its whole text is selected, so
// that what is typed next replaces it. A click selects it once the button is released, unless
// the click itself selected some of it.
void MainWindow::selectSearchTextOnReturn(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || (box != partSearch_->txtPart && box != partSearch_->txtDesc))
        return;
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason)
            selectOnRelease_ = box;
        else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            box->selectAll();
    } else if (event->type() == QEvent::MouseButtonRelease && selectOnRelease_ == box) {
        selectOnRelease_ = nullptr;
        if (!box->hasSelectedText())
            box->selectAll();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonRelease)
        selectSearchTextOnReturn(watched, event);
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || widget == nullptr ||
        widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // While a box the user types into has the focus, the clipboard keys (Ctrl+C, Ctrl+V, Ctrl+X,
    // Ctrl+A) copy, paste, cut and select there and never reach the menu items that share them.
    if (type == QEvent::ShortcutOverride && isTextEntry(watched) && isClipboardKey(key)) {
        event->accept();
        return true;
    }
    // Ctrl+C on a Part Detail value copies it, and never clears the results.
    if (key->matches(QKeySequence::Copy)) {
        if (const std::optional<QString> text = valueToCopy(watched)) {
            if (type == QEvent::KeyPress && !text->isEmpty())
                QGuiApplication::clipboard()->setText(*text);
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------------------------------
// MainWindowInterface

void MainWindow::setStatusText(const QString& text) {
    panels_[0]->setText(text);
}

QString MainWindow::statusText() const {
    return panels_[0]->text();
}

void MainWindow::setOrderIndicatorEnabled(bool enabled) {
    panels_[1]->setEnabled(enabled);
}

bool MainWindow::orderIndicatorEnabled() const {
    return panels_[1]->isEnabled();
}

void MainWindow::setOrderCommandsEnabled(bool enabled) {
    tools_->cmdOrder->setEnabled(enabled);
    mnuAddToOrder_->setEnabled(enabled);
    mnuDeleteOrder_->setEnabled(enabled);
    tools_->cmdViewOrder->setEnabled(enabled);
    mnuOrderItem_->setEnabled(enabled);
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
    if (defaultButton_ == button)
        return;
    if (defaultButton_)
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

// ------------------------------------------------------------------------------------------
// Handlers. A menu item that shares its action with a button calls that button's handler.

void MainWindow::cmdSearchPart_Click() {
    searches_->cmdSearchPart_Click();
}

void MainWindow::cmdSearchDesc_Click() {
    searches_->cmdSearchDesc_Click();
}

void MainWindow::txtPart_Change() {
    setDefaultButton(partSearch_->cmdSearchPart);
}

void MainWindow::txtDesc_Change() {
    setDefaultButton(partSearch_->cmdSearchDesc);
}

void MainWindow::MSFlexGrid1_RowColChange() {
    resultsGrid_->MSFlexGrid1_RowColChange();
}

void MainWindow::MSFlexGrid1_DblClick() {
    cmdOrder_Click();
}

void MainWindow::cmdClear_Click() {
    resultsGrid_->cmdClear_Click();
}

void MainWindow::mnuClearItem_Click() {
    cmdClear_Click();
}

void MainWindow::Image_Click(int slot) {
    PartPictures(context_).openPicture(slot);
}

void MainWindow::cmdEnterFilePrice_Click() {
    customPrices_->cmdEnterFilePrice_Click();
}

void MainWindow::cmdRemoveFilePrice_Click() {
    customPrices_->cmdRemoveFilePrice_Click();
}

void MainWindow::cmdStartOrder_Click() {
    OrderLifecycle(context_).cmdStartOrder_Click();
}

void MainWindow::mnuNewOrder_Click() {
    cmdStartOrder_Click();
}

void MainWindow::cmdOrder_Click() {
    if (!OrderPartAdder(context_).cmdOrder_Click())
        return;
    // The next part number can be typed at once: it replaces the last.
    partSearch_->txtPart->setFocus(Qt::OtherFocusReason);
    partSearch_->txtPart->selectAll();
}

void MainWindow::mnuAddToOrder_Click() {
    cmdOrder_Click();
}

void MainWindow::cmdViewOrder_Click() {
    OrderLifecycle(context_).cmdViewOrder_Click();
}

void MainWindow::mnuOrderItem_Click() {
    cmdViewOrder_Click();
}

void MainWindow::mnuDeleteOrder_Click() {
    OrderLifecycle(context_).mnuDeleteOrder_Click();
}

void MainWindow::cmdFinaliseOrder_Click() {
    OrderFormPrinting(context_).cmdFinaliseOrder_Click();
}

void MainWindow::mnuFinaliseOrder_Click() {
    cmdFinaliseOrder_Click();
}

void MainWindow::cmdPreviousOrders_Click() {
    PreviousOrdersWindow window(context_, this);
    context_.dialogs.showModal(window);
}

void MainWindow::mnuPreviousItem_Click() {
    cmdPreviousOrders_Click();
}

void MainWindow::cmdOptions_Click() {
    AddressOptionsWindow window(context_, this);
    context_.dialogs.showModal(window);
}

void MainWindow::mnuAddressItem_Click() {
    cmdOptions_Click();
}

void MainWindow::mnuBackup_Click() {
    UserDataBackup(state_, context_.dialogs, folder_, [this] {
        openUserDatabase();
    }).mnuBackup_Click();
}

void MainWindow::mnuRestore_Click() {
    UserDataBackup(state_, context_.dialogs, folder_, {}).mnuRestore_Click();
}

void MainWindow::mnuContentsItem_Click() {
    HelpWindow window(folder_.helpText(), this);
    context_.dialogs.showModal(window);
}

void MainWindow::mnuAboutItem_Click() {
    AboutWindow window(folder_.aboutText(), this);
    context_.dialogs.showModal(window);
}

} // namespace quillon
