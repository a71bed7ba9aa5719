#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

class QFontMetricsF;
class QString;

namespace quillon {

class FlexGridModel;

// How a column of a FlexGrid takes its width.
enum class ColumnFit {
    // Exactly the width set in twips; the user may drag it wider or narrower.
    Fixed,
    // At least the width set in twips, and as wide as its widest text, the header's included.
    Content,
    // At least the width set in twips and its header; shares the room the other columns leave,
    // first up to its widest text, the first such column taking whatever room is left after.
    Fill,
};

// The widths of a grid's columns in pixels, from what each column needs and the room the grid
// has, and a quick measure of the texts that decide what a column needs.
class FlexGridColumns final {
public:
    struct Need {
        ColumnFit fit = ColumnFit::Fixed;
        int minimum = 0; // the width set, in pixels
        int header = 0;  // what the header text needs
        int content = 0; // what the widest cell needs
    };

    // The width of each column; Fixed columns keep their minimum. Fill columns share
    // `available` less what the other columns take; when that is too little, they get their
    // least width and the columns together are wider than the room.
    [[nodiscard]] static std::vector<int> widths(const std::vector<Need>& needs, int available);

    // The width all columns take when each shows its widest text whole.
    [[nodiscard]] static int fullWidth(const std::vector<Need>& needs);

    // The width a text needs in the font of `metrics`, never less than its drawn width: the sum
    // of its characters' advances (kept in `advances` from one text to the next, filled as they
    // are looked up) and an allowance for kerning. Adding up is many times faster than laying
    // the text out, and a grid may measure tens of thousands of texts; a text with a character
    // that may combine with its neighbours is laid out whole.
    [[nodiscard]] static qreal textWidth(const QString& text, const QFontMetricsF& metrics,
                                         std::vector<qreal>& advances);
    // The same for a text as UTF-8.
    [[nodiscard]] static qreal textWidth(QByteArrayView utf8, const QFontMetricsF& metrics,
                                         std::vector<qreal>& advances);
    // The width of the widest text of each column whose `fitted` is true, in the model's data
    // rows from firstGridRow on (0 for the others); packed rows measured in one pass over their
    // bytes.
    [[nodiscard]] static std::vector<qreal> widestTexts(const FlexGridModel& model,
                                                        int firstGridRow,
                                                        const std::vector<bool>& fitted,
                                                        const QFontMetricsF& metrics);
};

} // namespace quillon
