#include "orders/order_output.h"

#include "orders/order_csv.h"
#include "orders/order_lifecycle.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "platform/safe_file_writer.h"
#include "platform/user_file_saver.h"
#include "printing/order_form_error.h"
#include "printing/order_form_output.h"
#include "printing/order_form_printing.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/shown_path.h"
#include "store/statement_builder.h"

#include <QDir>
#include <QTemporaryDir>
#include <optional>

namespace quillon {

namespace {

SqlCondition orderIs(qint32 orderNum) {
    return SqlCondition::equals(u"OrderNum", SqlLiteral::number(orderNum));
}

} // namespace

OrderOutput::OrderOutput(AppContext& context, QWidget* parent)
    : context_(context), parent_(parent) {}

void OrderOutput::openOrder(Kind kind) {
    if (!context_.state.orderActive) {
        OrderLifecycle(context_).showNoOrderError();
        return;
    }
    order(kind, context_.state.currentOrderNum);
}

void OrderOutput::order(Kind kind, qint32 orderNum) {
    if (orderNum == 0) {
        context_.dialogs.messageBox(QStringLiteral("No previous order selected."));
        return;
    }
    Recordset lines = context_.state.userDb->openRecordset(
        StatementBuilder::selectWhere(u"orderParts", orderIs(orderNum)));
    if (lines.bof() && lines.eof()) {
        context_.dialogs.messageBox(noPartsPrompt(orderNum));
        return;
    }
    const QString number = QString::number(orderNum);
    if (kind == Kind::Csv) {
        if (exportCsv(lines, orderNum))
            context_.window.setStatusText(QStringLiteral("Order %1 exported as CSV.").arg(number));
        return;
    }
    OrderFormPrinting printing(context_, parent_);
    const std::optional<OrderFormPrinting::AddressBlocks> addresses = printing.chooseAddresses();
    if (!addresses)
        return;
    QString page;
    try {
        page = printing.page(lines, *addresses);
    } catch (const OrderFormError& error) {
        context_.dialogs.messageBox(error.message(), Dialogs::Buttons::Ok,
                                    Dialogs::Icon::Exclamation, OrderFormOutput::failureTitle());
        return;
    }
    OrderFormOutput output(context_.dialogs);
    QWidget* parent = parent_ ? parent_ : context_.window.windowWidget();
    switch (kind) {
    case Kind::Print:
        if (output.print(page, number, parent))
            context_.window.setStatusText(
                QStringLiteral("Order %1 sent to the printer.").arg(number));
        break;
    case Kind::Pdf:
        if (output.savePdf(page, number))
            context_.window.setStatusText(QStringLiteral("Order %1 saved as PDF.").arg(number));
        break;
    case Kind::Email:
        if (email(page, lines, orderNum))
            context_.window.setStatusText(
                QStringLiteral("Order %1 handed to the mail program.").arg(number));
        break;
    case Kind::Csv:
        break;
    }
}

bool OrderOutput::exportCsv(Recordset& lines, qint32 orderNum) {
    UserFileSaver saver(context_.dialogs);
    const std::optional<QString> path = saver.askPath(
        QStringLiteral("Export Order as CSV"),
        OrderFormOutput::documentName(QString::number(orderNum)) + QStringLiteral(".csv"),
        QStringLiteral("CSV files (*.csv)"));
    return path && saver.write(*path, OrderCsv::file(OrderCsv::lines(lines)));
}

bool OrderOutput::email(const QString& page, Recordset& lines, qint32 orderNum) {
    const QString number = QString::number(orderNum);
    const QString name = OrderFormOutput::documentName(number);
    Dialogs& dialogs = context_.dialogs;
    // A folder of the user's own (mode 0700), kept: the mail client reads the files after the
    // program has handed them over.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/dorvane-quillon-mail-XXXXXX"));
    if (!folder.isValid()) {
        dialogs.messageBox(QStringLiteral("No folder could be made for the order's files: %1")
                               .arg(folder.errorString()),
                           Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, noMailTitle());
        return false;
    }
    const QString pdfPath = folder.filePath(name + QStringLiteral(".pdf"));
    const QString csvPath = folder.filePath(name + QStringLiteral(".csv"));
    const QByteArray pdf = OrderFormOutput::pdf(page, number);
    QString reason =
        pdf.isEmpty() ? QStringLiteral("the order form could not be drawn") : QString();
    if (reason.isEmpty())
        (void)SafeFileWriter::writeWhole(pdfPath, pdf, &reason);
    if (reason.isEmpty())
        (void)SafeFileWriter::writeWhole(csvPath, OrderCsv::file(OrderCsv::lines(lines)), &reason);
    if (!reason.isEmpty()) {
        dialogs.messageBox(QStringLiteral("The order's files could not be written: %1").arg(reason),
                           Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, noMailTitle());
        return false; // the folder goes with what was written
    }
    folder.setAutoRemove(false);

    Recordset order = context_.state.userDb->openRecordset(
        StatementBuilder::selectWhere(u"orders", orderIs(orderNum), u"OrderDate"));
    const QString date = order.eof() ? QString() : order.field(u"OrderDate").toText();
    if (context_.browser.mail(emailSubject(number, date), {pdfPath, csvPath}))
        return true;
    dialogs.messageBox(QStringLiteral("No e-mail program could be started to send the order. "
                                      "Its files are kept, to attach to a message by hand:"
                                      "\r\n\r\n%1\r\n%2")
                           .arg(shownPath(pdfPath), shownPath(csvPath)),
                       Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, noMailTitle());
    return false;
}

} // namespace quillon
