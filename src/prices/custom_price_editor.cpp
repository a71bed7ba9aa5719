#include "prices/custom_price_editor.h"

#include "platform/accessible_names.h"
#include "platform/dialogs.h"
#include "prices/custom_part_record.h"
#include "prices/customer_retail_frame.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"

#include <QLabel>
#include <QLineEdit>

namespace quillon {

namespace {

// A price column in the Currency format; an absent value gives the empty text.
QString shownAmount(const Value& value, const LocaleFormats& formats) {
    return value.isAbsent() ? QString() : formats.currency(value.toMoney());
}

// "File Price:" -> "File Price".
QString boxName(const QString& caption) {
    return caption.endsWith(u':') ? caption.chopped(1) : caption;
}

} // namespace

CustomPriceEditor::CustomPriceEditor(AppContext& context, CustomerRetailFrame& frame)
    : context_(context), frame_(frame) {}

void CustomPriceEditor::showCustomPart() {
    const Recordset record = shownPart().checkCustomPart(*context_.state.userDb);
    if (record.bof() && record.eof())
        return;
    frame_.txtFilePrice->setText(shownAmount(record.field(u"CustomerPrice"), formats_));
    frame_.txtSellingPrice->setText(shownAmount(record.field(u"CustomerLRPrice"), formats_));
    const Value& unit = record.field(u"CustomerUnitSale");
    frame_.txtUnit->setText(unit.isAbsent() ? QString() : unit.toText());
}

void CustomPriceEditor::clearBoxes() {
    frame_.txtFilePrice->clear();
    frame_.txtSellingPrice->clear();
    frame_.txtUnit->clear();
}

bool CustomPriceEditor::partShownWithInput() const {
    // Clear keeps the last part's ID but shows no part: the buttons then act on nothing.
    const ProgramState& state = context_.state;
    if (state.selectedPart.id == 0 || !state.resultsListed)
        return false;
    return !frame_.txtFilePrice->text().isEmpty() || !frame_.txtSellingPrice->text().isEmpty() ||
           !frame_.txtUnit->text().isEmpty();
}

QString CustomPriceEditor::notAnAmountPrompt(const QString& caption, const QString& text) {
    return boxName(caption) + QStringLiteral(" \"") + text +
           QStringLiteral("\" is not an amount.\r\n\r\nEnter an amount such as 12.50, or leave "
                          "the box empty for 0. Nothing has been stored.");
}

QString CustomPriceEditor::twoAmountsPrompt(const QString& caption, const QString& text,
                                            const QString& localeReading,
                                            const QString& plainReading) {
    return boxName(caption) + QStringLiteral(" \"") + text +
           QStringLiteral("\" can be read as two different amounts: %1 (the point between "
                          "thousands) or %2 (the point as the decimal mark).\r\n\r\nType the "
                          "amount as %1 or as %2. Nothing has been stored.")
               .arg(localeReading, plainReading);
}

std::optional<Money> CustomPriceEditor::boxAmount(QLineEdit* box, const QString& caption) {
    const QString text = box->text();
    if (text.isEmpty())
        return Money();
    const LocaleFormats::TypedAmount typed = formats_.readTyped(text);
    if (typed.amount)
        return typed.amount;
    const QString prompt =
        typed.twoReadings() ? twoAmountsPrompt(caption, text, formats_.number(*typed.localeReading),
                                               formats_.number(*typed.plainReading))
                            : notAnAmountPrompt(caption, text);
    context_.dialogs.messageBox(prompt, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
    box->setFocus();
    box->selectAll();
    return std::nullopt;
}

CustomPartRecord CustomPriceEditor::shownPart() const {
    const SelectedPart& part = context_.state.selectedPart;
    return {part.roverNum, part.dorvaneNum};
}

void CustomPriceEditor::cmdEnterFilePrice_Click() {
    if (!partShownWithInput())
        return;
    // Both prices are checked before anything changes: the engine is never handed a text that
    // is no amount.
    const auto filePrice =
        boxAmount(frame_.txtFilePrice, AccessibleNames::words(frame_.lblFilePrice->text()));
    if (!filePrice)
        return;
    const auto sellingPrice =
        boxAmount(frame_.txtSellingPrice, AccessibleNames::words(frame_.lblSellingPrice->text()));
    if (!sellingPrice)
        return;
    if (frame_.txtFilePrice->text().isEmpty())
        frame_.txtFilePrice->setText(QStringLiteral("0"));
    if (frame_.txtSellingPrice->text().isEmpty())
        frame_.txtSellingPrice->setText(QStringLiteral("0"));
    const CustomPartRecord::Prices prices{*filePrice, *sellingPrice, frame_.txtUnit->text()};

    Database& userDb = *context_.state.userDb;
    const CustomPartRecord part = shownPart();
    const Recordset record = part.checkCustomPart(userDb);
    if (record.bof() && record.eof()) {
        userDb.execute(part.insertStatement(prices));
        context_.window.setStatusText(QStringLiteral("Custom price stored"));
    } else {
        userDb.execute(part.updateStatement(prices));
        context_.window.setStatusText(QStringLiteral("Custom price updated"));
    }
    showCustomPart();
}

void CustomPriceEditor::cmdRemoveFilePrice_Click() {
    if (!partShownWithInput())
        return;
    context_.state.userDb->execute(shownPart().deleteStatement());
    clearBoxes();
    context_.window.setStatusText(QStringLiteral("Custom price removed"));
}

} // namespace quillon
