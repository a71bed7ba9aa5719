#include "catalogue/search_results_frame.h"

#include "platform/flex_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

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

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setMaximumHeight(16);

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

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(ProgressBar, 1);
    countRow->addSpacing(12);
    countRow->addWidget(lblPartsFoundsNumber);
    countRow->addWidget(lblPartsFounds);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(countRow);
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
}

} // namespace quillon
