#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <memory>
#include <vector>

class QLocale;
class QPagedPaintDevice;
class QPainter;
class QTextDocument;
class QTextTable;

namespace quillon {

// The Order form laid out on paper, for the printer and for a PDF: the page the browser shows
// (the templates, the addresses, the lines and the total) in a text document at the paper's
// width, cut into pages only between the order's lines (a line and its special instructions
// always stand on one page), the column headings of the lines repeated at the top of each further
// page, and "Page N of M" at the foot of every page. The amounts stand right-aligned under their
// headings, as in the browser.
class OrderFormPages final {
public:
    // page: the Order form's HTML as written for the browser.
    explicit OrderFormPages(const QString& page);
    ~OrderFormPages();
    OrderFormPages(const OrderFormPages&) = delete;
    OrderFormPages& operator=(const OrderFormPages&) = delete;

    // Draws every page on the device (a printer, a PDF writer) in its page layout; the number of
    // pages, 0 when the device could not be painted on.
    int print(QPagedPaintDevice& device);

    // The whole form as a PDF document of that paper size (text selectable, fonts embedded).
    [[nodiscard]] QByteArray pdf(const QPageSize& paper, const QString& title);

    // A4, or US Letter where the locale measures in US units.
    [[nodiscard]] static QPageSize paperFor(const QLocale& locale);
    [[nodiscard]] static QString pageFooter(int page, int pages) {
        return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
    }

private:
    struct Span {
        double top = 0;
        double bottom = 0;
    };
    void prepare();
    // Where the layout put the separators, the headings and the lines' table.
    void measure();
    // Where a page may end: between the form's blocks and tables and before each separator of
    // the lines' table, in document units, ascending.
    std::vector<double> breakPoints() const;
    std::vector<Span> pageSpans(double pageHeight, double headingHeight) const;
    void drawSeparators(QPainter& painter, const Span& shown) const;

    std::unique_ptr<QTextDocument> document_;
    QTextTable* linesTable_ = nullptr; // the table of the lines (in document_), if any
    std::vector<Span> separators_;     // the separator rows of the lines' table
    Span heading_;                     // the lines' column headings; empty when there are none
    double linesLeft_ = 0;
    double linesRight_ = 0;
};

} // namespace quillon
