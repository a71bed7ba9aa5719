#include "printing/order_form_output.h"

#include "platform/dialogs.h"
#include "platform/user_file_saver.h"
#include "printing/order_form_pages.h"
#include "store/locale_formats.h"

#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace quillon {

QByteArray OrderFormOutput::pdf(const QString& page, const QString& orderNum) {
    return OrderFormPages(page).pdf(OrderFormPages::paperFor(LocaleFormats::systemLocale()),
                                    documentName(orderNum));
}

bool OrderFormOutput::savePdf(const QString& page, const QString& orderNum) {
    UserFileSaver saver(dialogs_);
    const std::optional<QString> path =
        saver.askPath(QStringLiteral("Save Order as PDF"), documentName(orderNum) + u".pdf",
                      QStringLiteral("PDF files (*.pdf)"));
    if (!path)
        return false;
    const QByteArray bytes = pdf(page, orderNum);
    if (bytes.isEmpty()) {
        dialogs_.messageBox(QStringLiteral("The order form could not be drawn as a PDF."),
                            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, failureTitle());
        return false;
    }
    return saver.write(*path, bytes);
}

bool OrderFormOutput::print(const QString& page, const QString& orderNum, QWidget* parent) {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        dialogs_.messageBox(noPrinterPrompt(), Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                            QStringLiteral("No printer"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(OrderFormPages::paperFor(LocaleFormats::systemLocale()));
    printer.setDocName(documentName(orderNum));
    printer.setCreator(QStringLiteral("Dorvane Quillon"));
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrintOrder"));
    dialog.setWindowTitle(QStringLiteral("Print Order ") + orderNum);
    if (dialogs_.showModal(dialog) != QDialog::Accepted)
        return false;
    if (OrderFormPages(page).print(printer) == 0) {
        dialogs_.messageBox(QStringLiteral("The order could not be sent to the printer %1.")
                                .arg(printer.printerName()),
                            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, failureTitle());
        return false;
    }
    return true;
}

} // namespace quillon
