#pragma once

#include <QString>

class QWidget;

namespace quillon {

struct AppContext;
class Recordset;

// An order leaving the counter other than by Finalise: printed, saved as a PDF, exported as a
// CSV file, or e-mailed (the PDF and the CSV attached to a new message of the user's mail
// client). For the open order (the File menu; the order stays open, a draft for the customer)
// or a completed one (the Previous Orders window). Print, PDF and e-mail ask for the addresses
// as Finalise does; the CSV holds the lines alone.
class OrderOutput final {
public:
    enum class Kind { Print, Pdf, Csv, Email };

    // parent: the window that the boxes and dialogs stand over (the main window when null).
    explicit OrderOutput(AppContext& context, QWidget* parent = nullptr);

    // The File menu's command for the open order; the no-order error when none is open.
    void openOrder(Kind kind);
    // The command for that order; 0: no previous order selected.
    void order(Kind kind, qint32 orderNum);

    static QString emailSubject(const QString& orderNum, const QString& orderDate) {
        return QStringLiteral("Order %1 (%2)").arg(orderNum, orderDate);
    }
    static QString noPartsPrompt(qint32 orderNum) {
        return QStringLiteral("Order %1 has no parts.").arg(orderNum);
    }
    static QString noMailTitle() { return QStringLiteral("Order not e-mailed"); }

private:
    bool exportCsv(Recordset& lines, qint32 orderNum);
    bool email(const QString& page, Recordset& lines, qint32 orderNum);

    AppContext& context_;
    QWidget* parent_;
};

} // namespace quillon
