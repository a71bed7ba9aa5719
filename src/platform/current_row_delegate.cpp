#include "platform/current_row_delegate.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace quillon {

namespace {

// The first and last columns shown, by their place on screen.
std::pair<int, int> outerColumns(const QAbstractItemView* view, int columns) {
    const auto* table = qobject_cast<const QTableView*>(view);
    if (table == nullptr)
        return {0, columns - 1};
    const QHeaderView* header = table->horizontalHeader();
    int first = -1;
    int last = -1;
    for (int visual = 0; visual < columns; ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || header->isSectionHidden(logical))
            continue;
        if (first < 0)
            first = logical;
        last = logical;
    }
    return {first, last};
}

} // namespace

CurrentRowDelegate::CurrentRowDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view) {
    view->installEventFilter(this);
}

bool CurrentRowDelegate::eventFilter(QObject* watched, QEvent* event) {
    // The view is no editor: its keys are never taken here.
    if (watched == view_) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            view_->viewport()->update();
        return false;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void CurrentRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool currentRow = view_->hasFocus() && view_->currentIndex().isValid() &&
                            index.row() == view_->currentIndex().row();
    QStyleOptionViewItem cell = option;
    // The row frame takes the place of the style's mark around the one current cell.
    if (currentRow)
        cell.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, cell, index);
    if (!currentRow)
        return;

    const auto [first, last] = outerColumns(view_, index.model()->columnCount(index.parent()));
    const QRect rect = option.rect;
    const QColor colour = option.palette.color(QPalette::Active, QPalette::Highlight).darker(150);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawRect(QRect(rect.left(), rect.top(), rect.width(), frameWidth));
    painter->drawRect(QRect(rect.left(), rect.bottom() - frameWidth + 1, rect.width(), frameWidth));
    if (index.column() == first)
        painter->drawRect(QRect(rect.left(), rect.top(), frameWidth, rect.height()));
    if (index.column() == last)
        painter->drawRect(
            QRect(rect.right() - frameWidth + 1, rect.top(), frameWidth, rect.height()));
    painter->restore();
}

} // namespace quillon
