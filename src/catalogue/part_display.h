#pragma once

#include "session/selected_part.h"
#include "store/locale_formats.h"

#include <QPixmap>
#include <QString>

namespace quillon {

struct AppContext;
class CustomPriceEditor;
class FlexGrid;
class PartDetailFrame;
class Recordset;
class Value;

// The "Part Detail" frame at work: shows the part of the results grid's current row (its
// fields, lists and picture thumbnails), records what the other windows need of it in the
// program state, and empties the frame again.
class PartDisplay final {
public:
    PartDisplay(AppContext& context, PartDetailFrame& frame, FlexGrid& grid,
                CustomPriceEditor& customPrices);

    // Shows the part of the grid's current row while results are listed (nothing otherwise):
    // highlights the row, reads the part by its ID, fills the thirteen fields, the two lists and
    // the thumbnails, puts its description in the status line, enables Clear and shows the
    // customer's own prices for it.
    void showSelectedPart();
    // Empties the fields, the lists, the Customer Retail boxes, the picture names and the
    // thumbnails. The part's ID, the status line, the grid and Clear stay as they are.
    void clearSelectedPart();

    // What a field shows for a catalogue value: "-" for an absent value; amounts also for 0.
    [[nodiscard]] static QString shownText(const Value& value);
    [[nodiscard]] static QString shownAmount(const Value& value, const LocaleFormats& formats);
    // A discount code equal to the number 0 counts as none; a code that is no number shows as
    // its text.
    [[nodiscard]] static QString shownDiscountCode(const Value& value);

private:
    // clearSelectedPart(), the thumbnails left visible or hidden.
    void emptyFrame(bool hideThumbnails);
    // The part of catalogue row part (ID id) as Add to Order and the custom prices take it.
    [[nodiscard]] static SelectedPart selectedValues(qint32 id, const Recordset& part);
    void readPictureFiles(const Recordset& part);
    void fillFields(const Recordset& part);
    void fillLists(const Recordset& part);
    void showThumbnails();
    // Puts the picture of slot k (1 ... 9) into its thumbnail; false when the slot stays hidden.
    [[nodiscard]] bool showThumbnail(int slot);

    AppContext& context_;
    PartDetailFrame& frame_;
    FlexGrid& grid_;
    CustomPriceEditor& customPrices_;
    LocaleFormats formats_;
    // The web-page icon, read at most once per part shown.
    QPixmap htmlIcon_;
    bool htmlIconRead_ = false;
    // Moving the current cell to column 0 raises the grid's row change once more; the part is
    // being shown already.
    bool showing_ = false;
};

} // namespace quillon
