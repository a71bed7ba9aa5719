#pragma once

#include "store/loose_match.h"

#include <QString>
#include <QStringList>

class QLineEdit;

namespace quillon {

struct AppContext;
class PartDisplay;
class PartSearchFrames;
class ResultsGrid;

// The two searches of the catalogue: by part number (any of the nine number columns, the number
// written with or without blanks, dashes, dots and slashes) and by a keyword of the description,
// optionally limited to one vehicle. Each checks the typed text,
// empties Part Detail and the grid, opens one SELECT on the catalogue, leaves the typed text
// selected in its box with the focus, and lists the result.
class PartSearch final {
public:
    PartSearch(AppContext& context, PartSearchFrames& frames, ResultsGrid& results,
               PartDisplay& display);

    void cmdSearchPart_Click();
    void cmdSearchDesc_Click();

    // A search text must be at least this many characters long (blanks count).
    static constexpr int minimumLength = 4;
    // The nine number columns, in the order the part-number statement names them.
    [[nodiscard]] static const QStringList& numberColumns();
    // The statements. Typed texts go in as they stand (their wildcards act as wildcards), with
    // single quotes doubled.
    [[nodiscard]] static QString partNumberStatement(const QString& number);
    [[nodiscard]] static QString descriptionStatement(const QString& keyword,
                                                      const QString& vehicle);

private:
    // What both searches do once the text has passed its checks.
    void run(QLineEdit* box, const QString& statement, const LooseMatch& loose = {});

    AppContext& context_;
    PartSearchFrames& frames_;
    ResultsGrid& results_;
    PartDisplay& display_;
};

} // namespace quillon
