#include "catalogue/part_search.h"

#include "catalogue/part_display.h"
#include "catalogue/part_search_frames.h"
#include "catalogue/results_grid.h"
#include "platform/dialogs.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store_reload.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>

namespace quillon {

namespace {

// Selected from the start of a searched text, so that typing at once replaces it.
constexpr int selectedLength = 30;

// Characters, not UTF-16 units: a character outside the Basic Multilingual Plane counts once.
qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isHighSurrogate() && i + 1 < text.size() &&
              text.at(i + 1).isLowSurrogate()))
            ++count;
    }
    return count;
}

} // namespace

PartSearch::PartSearch(AppContext& context, PartSearchFrames& frames, ResultsGrid& results,
                       PartDisplay& display)
    : context_(context), frames_(frames), results_(results), display_(display) {}

const QStringList& PartSearch::numberColumns() {
    return Schema::partNumberColumns();
}

QString PartSearch::partNumberStatement(const QString& number) {
    const QString pattern = sqlEscape(number);
    QString statement = QStringLiteral("SELECT * FROM Parts WHERE (");
    for (const QString& column : numberColumns()) {
        if (column != numberColumns().constLast())
            statement += column + QStringLiteral(" LIKE '*") + pattern + QStringLiteral("*' OR ");
    }
    statement +=
        numberColumns().constLast() + QStringLiteral(" LIKE '*") + pattern + QStringLiteral("*') ");
    statement += QStringLiteral("ORDER BY ID ASC");
    return statement;
}

QString PartSearch::descriptionStatement(const QString& keyword, const QString& vehicle) {
    const QString pattern = sqlEscape(keyword);
    if (vehicle == PartSearchFrames::anyVehicle()) {
        return QStringLiteral("SELECT * FROM Parts WHERE (") +
               QStringLiteral("Description LIKE '*") + pattern + QStringLiteral("*')");
    }
    const QString value = sqlEscape(vehicle);
    QString statement = QStringLiteral("SELECT * FROM Parts WHERE (");
    statement += QStringLiteral("Description LIKE '*") + pattern + QStringLiteral("*'");
    statement += QStringLiteral(" AND (Application1 = '") + value + QStringLiteral("'");
    for (int number = 2; number <= 9; ++number) {
        statement += QStringLiteral(" OR Application") + QString::number(number) +
                     QStringLiteral(" = '") + value + QStringLiteral("'");
    }
    statement += QStringLiteral(")) ");
    statement += QStringLiteral("ORDER BY ID ASC");
    return statement;
}

void PartSearch::cmdSearchPart_Click() {
    const QString number = frames_.txtPart->text();
    if (number.isEmpty()) {
        context_.dialogs.messageBox(QStringLiteral("Enter a part number"));
        return;
    }
    if (characterCount(number) < minimumLength) {
        context_.dialogs.messageBox(QStringLiteral("Part number must be longer then 3 characters"));
        return;
    }
    // A number written with or without blanks, dashes, dots or slashes is the same number: the
    // catalogue lists those too (a text with wildcards is searched as written).
    run(frames_.txtPart, partNumberStatement(number), LooseMatch{number, numberColumns()});
}

void PartSearch::cmdSearchDesc_Click() {
    const QString keyword = frames_.txtDesc->text();
    if (keyword.isEmpty()) {
        context_.dialogs.messageBox(QStringLiteral("Enter keyword or part of a description"));
        return;
    }
    if (characterCount(keyword) < minimumLength) {
        context_.dialogs.messageBox(QStringLiteral("Keyword must be longer then 3 characters"));
        return;
    }
    run(frames_.txtDesc, descriptionStatement(keyword, frames_.lstApplication->currentText()));
}

void PartSearch::run(QLineEdit* box, const QString& statement, const LooseMatch& loose) {
    ProgramState& state = context_.state;
    display_.clearSelectedPart();
    results_.emptyForSearch();

    // A catalogue update renames a new file over the old one: the search reads the newest.
    StoreReload::reopenIfReplaced(state.catalogueDb);
    // The emptied grid and frame show while a statement runs long enough to be seen. The result
    // keeps only what the grid lists of its rows.
    state.searchRecordset = state.catalogueDb->openRecordset(
        statement, [this] { results_.showEmptiedIfSlow(); }, loose, ResultsGrid::listedColumns());
    // The result lives for this search only, however it ends.
    const auto closeResult = qScopeGuard([&state] { state.searchRecordset.close(); });

    box->setFocus();
    box->setSelection(0, selectedLength);
    results_.fillResultsGrid();
}

} // namespace quillon
