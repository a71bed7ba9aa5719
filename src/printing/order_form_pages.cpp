#include "printing/order_form_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>

namespace quillon {

namespace {

// The image of the separator rows; the printed form draws a rule of its own in its place.
const QString separatorImage = QStringLiteral("1pixel-black.gif");
// Room at the foot of each page for "Page N of M", in inches.
constexpr double footerInches = 0.4;
constexpr double footerPoints = 8;

double documentDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

bool isSeparator(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (format.isImageFormat() && format.toImageFormat().name() == separatorImage)
            return true;
    }
    return false;
}

// Right-aligns the one-column cells from the quantity on (quantity, price, total), as the
// browser does.
void alignAmounts(QTextTable& table) {
    constexpr int firstAmountColumn = 3;
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = firstAmountColumn; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column || cell.columnSpan() != 1)
                continue;
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QTextBlockFormat right;
            right.setAlignment(Qt::AlignRight);
            cursor.mergeBlockFormat(right);
        }
    }
}

} // namespace

OrderFormPages::OrderFormPages(const QString& page) : document_(std::make_unique<QTextDocument>()) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    document_->setDefaultFont(font);
    document_->setDocumentMargin(0);
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    document_->addResource(QTextDocument::ImageResource, QUrl(separatorImage), blank);
    document_->setHtml(page);
    prepare();
}

OrderFormPages::~OrderFormPages() = default;

QPageSize OrderFormPages::paperFor(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

void OrderFormPages::prepare() {
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        if (!isSeparator(block))
            continue;
        linesTable_ = QTextCursor(block).currentTable();
        if (linesTable_ != nullptr)
            break;
    }
    if (linesTable_ == nullptr)
        return;
    // The lines' table fills the width, as its style asks of the browser.
    QTextTableFormat format = linesTable_->format();
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    linesTable_->setFormat(format);
    alignAmounts(*linesTable_);
}

void OrderFormPages::measure() {
    QAbstractTextDocumentLayout* layout = document_->documentLayout();
    separators_.clear();
    heading_ = {};
    if (linesTable_ == nullptr)
        return;
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        if (isSeparator(block) && QTextCursor(block).currentTable() == linesTable_) {
            const QRectF rect = layout->blockBoundingRect(block);
            separators_.push_back({rect.top(), rect.bottom()});
            if (separators_.size() == 1 &&
                linesTable_->cellAt(block.position()).row() > 0) // headings above the first
                heading_ = {layout->frameBoundingRect(linesTable_).top(), rect.top()};
        }
    }
    const QRectF table = layout->frameBoundingRect(linesTable_);
    linesLeft_ = table.left();
    linesRight_ = table.right();
}

std::vector<double> OrderFormPages::breakPoints() const {
    QAbstractTextDocumentLayout* layout = document_->documentLayout();
    std::vector<double> points;
    QTextFrame* root = document_->rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            const QRectF rect = layout->frameBoundingRect(frame);
            points.push_back(rect.top());
            points.push_back(rect.bottom());
        } else if (it.currentBlock().isValid()) {
            points.push_back(layout->blockBoundingRect(it.currentBlock()).top());
        }
    }
    for (const Span& separator : separators_)
        points.push_back(separator.top);
    points.push_back(document_->size().height());
    std::sort(points.begin(), points.end());
    return points;
}

std::vector<OrderFormPages::Span> OrderFormPages::pageSpans(double pageHeight,
                                                            double headingHeight) const {
    const std::vector<double> points = breakPoints();
    const double end = document_->size().height();
    const double linesEnd = separators_.empty() ? 0 : separators_.back().bottom;
    std::vector<Span> spans;
    double start = 0;
    while (spans.empty() || start < end - 0.5) {
        const bool headed = !spans.empty() && headingHeight > 0 && start < linesEnd;
        const double room = std::max(pageHeight - (headed ? headingHeight : 0), 1.0);
        if (start + room >= end) {
            spans.push_back({start, end});
            break;
        }
        // The last place a page may end that still fits; a piece taller than a page is cut.
        auto after = std::upper_bound(points.begin(), points.end(), start + room);
        double stop = start + room;
        if (after != points.begin() && *std::prev(after) > start + 1)
            stop = *std::prev(after);
        spans.push_back({start, stop});
        start = stop;
    }
    return spans;
}

void OrderFormPages::drawSeparators(QPainter& painter, const Span& shown) const {
    if (separators_.empty())
        return;
    painter.save();
    painter.setPen(QPen(Qt::black, 0.75));
    for (const Span& separator : separators_) {
        const double y = (separator.top + separator.bottom) / 2;
        if (y > shown.top && y < shown.bottom)
            painter.drawLine(QPointF(linesLeft_, y), QPointF(linesRight_, y));
    }
    painter.restore();
}

int OrderFormPages::print(QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const double deviceDpi = device.logicalDpiY();
    const double scale = deviceDpi / documentDpi();
    const double footer = footerInches * deviceDpi;
    document_->setTextWidth(device.width() / scale);

    measure();

    const double pageHeight = (device.height() - footer) / scale;
    const double headingHeight = heading_.bottom - heading_.top;
    const std::vector<Span> spans = pageSpans(pageHeight, headingHeight);
    const double linesEnd = separators_.empty() ? 0 : separators_.back().bottom;
    const double width = document_->textWidth();
    QFont footerFont = document_->defaultFont();
    footerFont.setPointSizeF(footerPoints);

    for (std::size_t index = 0; index < spans.size(); ++index) {
        const Span& span = spans[index];
        if (index > 0)
            device.newPage();
        painter.save();
        painter.scale(scale, scale);
        double top = 0;
        if (index > 0 && headingHeight > 0 && span.top < linesEnd) {
            painter.save();
            painter.translate(0, -heading_.top);
            document_->drawContents(&painter, QRectF(0, heading_.top, width, headingHeight));
            painter.restore();
            top = headingHeight;
        }
        painter.translate(0, top - span.top);
        document_->drawContents(&painter, QRectF(0, span.top, width, span.bottom - span.top));
        drawSeparators(painter, span);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, device.height() - footer, device.width(), footer),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         pageFooter(int(index) + 1, int(spans.size())));
    }
    painter.end();
    return int(spans.size());
}

QByteArray OrderFormPages::pdf(const QPageSize& paper, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(15, 15, 15, 10), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Dorvane Quillon"));
        if (print(writer) == 0)
            return {};
    }
    return buffer.data();
}

} // namespace quillon
