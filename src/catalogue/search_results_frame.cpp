#include "catalogue/search_results_frame.h"

#include "platform/flex_grid.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>
#include <algorithm>

namespace quillon {

SearchResultsFrame::SearchResultsFrame(AppContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Search Results"), parent), context_(context) {
    setObjectName(QStringLiteral("frameSearchResults"));

    MSFlexGrid1 = new FlexGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setAccessibleName(QStringLiteral("Search Results"));
    MSFlexGrid1->setFixedCols(0);
    // A part's row is highlighted across all four columns, also while a click on a row that is
    // highlighted already is still under way.
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setMinimumHeight(80); // the header and three rows
    // A click on a column's heading sorts the rows by it.
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(true);
    MSFlexGrid1->horizontalHeader()->setSortIndicatorShown(false);
    QHeaderView* header = MSFlexGrid1->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this, header](int column, int, int size) {
        // Only a drag of the heading's edge: the grid's own fits resize the columns too.
        if (takingDraggedWidth_ || !header->underMouse() ||
            !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton))
            return;
        takingDraggedWidth_ = true;
        MSFlexGrid1->setColWidthTwips(column, Twips::fromPixelsX(size, MSFlexGrid1));
        takingDraggedWidth_ = false;
    });

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setMaximumHeight(12);

    lblPartsFoundsNumber = new QLabel(this);
    lblPartsFoundsNumber->setObjectName(QStringLiteral("lblPartsFoundsNumber"));
    lblPartsFoundsNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPartsFoundsNumber->setMinimumWidth(60);
    lblPartsFounds = new QLabel(QStringLiteral("parts found"), this);
    lblPartsFounds->setObjectName(QStringLiteral("lblPartsFounds"));
    for (QLabel* label : {lblPartsFoundsNumber, lblPartsFounds}) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->hide();
    }

    // The bar and the count sit in the frame's caption line, right of its caption: the grid
    // gets the height of a row more.
    countBar_ = new QWidget(this);
    countBar_->setObjectName(QStringLiteral("countBar"));
    ProgressBar->setParent(countBar_);
    lblPartsFoundsNumber->setParent(countBar_);
    lblPartsFounds->setParent(countBar_);
    auto* countRow = new QHBoxLayout(countBar_);
    countRow->setContentsMargins(0, 0, 0, 0);
    countRow->addWidget(ProgressBar, 1);
    countRow->addSpacing(12);
    countRow->addWidget(lblPartsFoundsNumber);
    countRow->addWidget(lblPartsFounds);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addWidget(MSFlexGrid1, 1);
}

void SearchResultsFrame::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect caption =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const int height = std::max(caption.height(), countBar_->sizeHint().height());
    const int left = caption.right() + 24;
    countBar_->setGeometry(left, caption.center().y() - height / 2, std::max(0, width() - left - 8),
                           height);
}

QString SearchResultsFrame::headerText(int column) {
    static const QString texts[columnCount] = {
        QStringLiteral("DV No."), QStringLiteral("Rover No."), QStringLiteral("Description"),
        QStringLiteral("Img.")};
    return column >= 0 && column < columnCount ? texts[column] : QString();
}

void SearchResultsFrame::setUpGrid() {
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setCols(columnCount);
    for (int column = 0; column < columnCount; ++column) {
        MSFlexGrid1->setColWidthTwips(column, columnWidthsTwips[column]);
        MSFlexGrid1->setColFit(column, columnFits[column]);
        MSFlexGrid1->setTextMatrix(0, column, headerText(column));
    }
    QHeaderView* header = MSFlexGrid1->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
}

} // namespace quillon
