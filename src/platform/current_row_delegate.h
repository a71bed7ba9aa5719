#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

namespace quillon {

// Draws the cells of a grid, and around the whole current row a frame in the highlight colour
// while the grid has the focus: where the focus is shows as clearly on a grid of selected rows
// as on a button.
class CurrentRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CurrentRowDelegate(QAbstractItemView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The frame's width in pixels.
    static constexpr int frameWidth = 2;

protected:
    // The focus coming or going repaints the whole row, not just its current cell.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* view_;
};

} // namespace quillon
