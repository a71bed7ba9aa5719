#pragma once

#include "store/locale_formats.h"
#include "store/money.h"

#include <QString>
#include <optional>

class QLineEdit;

namespace quillon {

struct AppContext;
class CustomerRetailFrame;
class CustomPartRecord;

// The customer's own prices of the part shown, in the "Customer Retail" frame: shows the part's
// custom price record in the three boxes, stores what the boxes hold (Enter/Update) and removes
// the record (Remove). A record is found by the part key (RoverNum, or DorvaneNum for a
// "Dorvane Only" part).
class CustomPriceEditor final {
public:
    CustomPriceEditor(AppContext& context, CustomerRetailFrame& frame);

    // Looks the record of the part shown up and, when there is one, fills the three boxes from
    // it: the two prices in the Currency format, the unit as its text (an empty column gives an
    // empty box). Without a record the boxes keep what they hold.
    void showCustomPart();
    // Empties the three boxes.
    void clearBoxes();

    // Enter/Update: stores the boxes as the record of the part shown, inserting it or updating
    // the one there is. Nothing without a part shown or with all three boxes empty. An empty
    // price box counts as 0. A price box that holds no amount, or a text that reads as two
    // different amounts (the locale's reading and the plain one, "1.234" under German settings),
    // is refused with a message that names the box, and nothing is stored.
    void cmdEnterFilePrice_Click();
    // Remove: deletes the record of the part shown and empties the boxes. Nothing without a part
    // shown or with all three boxes empty.
    void cmdRemoveFilePrice_Click();

    // The message for a price box that holds no amount; caption is the box's label ("File
    // Price:").
    [[nodiscard]] static QString notAnAmountPrompt(const QString& caption, const QString& text);
    // The message for a price box whose text reads as two amounts, each written as the locale
    // writes numbers.
    [[nodiscard]] static QString twoAmountsPrompt(const QString& caption, const QString& text,
                                                  const QString& localeReading,
                                                  const QString& plainReading);

private:
    [[nodiscard]] bool partShownWithInput() const;
    // The amount a price box holds (zero when empty), or nothing after telling the user that
    // the box holds no amount.
    [[nodiscard]] std::optional<Money> boxAmount(QLineEdit* box, const QString& caption);
    // The record of the part shown.
    [[nodiscard]] CustomPartRecord shownPart() const;

    AppContext& context_;
    CustomerRetailFrame& frame_;
    LocaleFormats formats_;
};

} // namespace quillon
