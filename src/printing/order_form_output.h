#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace quillon {

class Dialogs;

// The Order form on paper and as a PDF: printed through the system's print dialog, or saved as a
// PDF file where the user says. Both draw the same pages (OrderFormPages) on the paper of the
// user's locale.
class OrderFormOutput final {
public:
    explicit OrderFormOutput(Dialogs& dialogs) : dialogs_(dialogs) {}

    // Asks where (default "Order <number>.pdf") and saves the form there; true when saved.
    bool savePdf(const QString& page, const QString& orderNum);
    // Shows the print dialog (after a box when no printer is installed) and prints the form;
    // true when it was printed.
    bool print(const QString& page, const QString& orderNum, QWidget* parent);

    // The form as a PDF document; empty when it could not be drawn.
    [[nodiscard]] static QByteArray pdf(const QString& page, const QString& orderNum);
    [[nodiscard]] static QString documentName(const QString& orderNum) {
        return QStringLiteral("Order ") + orderNum;
    }
    static QString noPrinterPrompt() {
        return QStringLiteral("No printer is installed on this computer.\r\n\r\nThe print "
                              "dialog can still print the order to a file; Save Order as PDF "
                              "makes a PDF to print elsewhere or send.");
    }
    static QString failureTitle() { return QStringLiteral("Order form not printed"); }

private:
    Dialogs& dialogs_;
};

} // namespace quillon
