#include "printing/order_form_printing.h"

#include "addresses/address_options_window.h"
#include "addresses/address_table.h"
#include "platform/app_folder.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "printing/order_form_error.h"
#include "printing/order_form_output.h"
#include "printing/order_form_writer.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/shown_path.h"
#include "store/statement_builder.h"

#include <QDir>

namespace quillon {

OrderFormPrinting::OrderFormPrinting(AppContext& context, QWidget* parent)
    : context_(context), parent_(parent) {}

QString OrderFormPrinting::noAddressPrompt() {
    return QStringLiteral("Please select a valid Order and Delivery address. Go to \"Address "
                          "Options\" to add address details.");
}

void OrderFormPrinting::cmdPrintPreviousOrder_Click(qint32 orderNum) {
    if (orderNum == 0) {
        context_.dialogs.messageBox(QStringLiteral("No previous order selected."));
        return;
    }
    if (context_.dialogs.messageBox(QStringLiteral("Do you want to print this previous order?"),
                                    Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                    QStringLiteral("Print order?")) != Dialogs::Button::Yes)
        return;
    Recordset lines = context_.state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts", SqlCondition::equals(u"OrderNum", SqlLiteral::number(orderNum))));
    if (lines.bof() && lines.eof())
        return;
    if (const std::optional<AddressBlocks> addresses = chooseAddresses())
        generateAndShow(lines, *addresses, false);
}

std::optional<OrderFormPrinting::AddressBlocks> OrderFormPrinting::chooseAddresses() {
    AddressChoice choice;
    {
        AddressOptionsWindow window(context_, parent_ ? parent_ : context_.window.windowWidget());
        context_.dialogs.showModal(window);
        choice = window.choice();
    }
    if (choice.outcome == AddressChoice::Outcome::Cancel)
        return std::nullopt;
    // No address, or a name (typed into a list) that no record carries: the same message.
    if (choice.outcome == AddressChoice::Outcome::Ok) {
        Database& user = *context_.state.userDb;
        std::optional<QString> order =
            OrderFormWriter::addressBlock(user, AddressTable::order(), choice.orderName);
        std::optional<QString> delivery =
            order
                ? OrderFormWriter::addressBlock(user, AddressTable::delivery(), choice.deliveryName)
                : std::nullopt;
        if (order && delivery)
            return AddressBlocks{*order, *delivery};
    }
    context_.dialogs.messageBox(noAddressPrompt());
    return std::nullopt;
}

QString OrderFormPrinting::page(Recordset& lines, const AddressBlocks& addresses) const {
    const AppFolder& folder = context_.folder;
    OrderFormWriter writer(*context_.state.catalogueDb);
    OrderFormWriter::Pieces pieces;
    pieces.header = OrderFormWriter::readTemplate(folder.orderHeader());
    pieces.middle = OrderFormWriter::readTemplate(folder.orderMidA());
    pieces.footer = OrderFormWriter::readTemplate(folder.orderFooter());
    pieces.orderBlock = addresses.order;
    pieces.deliveryBlock = addresses.delivery;
    lines.moveFirst();
    pieces.orderNum = lines.field(u"OrderNum").toText();
    pieces.items = writer.itemRows(lines);
    return OrderFormWriter::page(pieces);
}

bool OrderFormPrinting::generateAndShow(Recordset& lines, const AddressBlocks& addresses,
                                        bool finalising) {
    const QString path = context_.folder.printOrder();
    QString written;
    try {
        written = page(lines, addresses);
        OrderFormWriter::writePage(path, written);
    } catch (const OrderFormError& error) {
        showFailure(error.message(), finalising);
        return false;
    }
    if (!context_.browser.open(path, Browser::Bars::Shown)) {
        const QString reason = QStringLiteral("The order form was written to %1, but no web "
                                              "browser could be started to show it.")
                                   .arg(shownPath(path));
        if (finalising) {
            lines.moveFirst();
            return offerPdf(reason, written, lines.field(u"OrderNum").toText());
        }
        showFailure(reason, finalising);
        return false;
    }
    return true;
}

bool OrderFormPrinting::offerPdf(const QString& reason, const QString& page,
                                 const QString& orderNum) {
    const QString prompt =
        reason + QStringLiteral("\r\n\r\nSave the order form as a PDF to print or send it "
                                "instead; the order is then finalised. Otherwise it stays open, "
                                "and Finalise Order can be tried again.");
    if (context_.dialogs.messageBox(prompt, Dialogs::Buttons::OkSavePdf, Dialogs::Icon::Exclamation,
                                    errorTitle()) != Dialogs::Button::SavePdf)
        return false;
    return OrderFormOutput(context_.dialogs).savePdf(page, orderNum);
}

void OrderFormPrinting::showFailure(const QString& reason, bool finalising) {
    QString prompt = reason;
    if (finalising)
        prompt += QStringLiteral("\r\n\r\nThe order has not been finalised: it stays open, and "
                                 "Finalise Order can be tried again.");
    context_.dialogs.messageBox(prompt, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                                errorTitle());
}

} // namespace quillon
