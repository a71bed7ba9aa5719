#include "catalogue/part_display.h"

#include "catalogue/part_detail_frame.h"
#include "catalogue/picture_file.h"
#include "catalogue/value_field.h"
#include "platform/app_folder.h"
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "prices/custom_price_editor.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/recordset.h"
#include "store/statement_builder.h"

#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <array>

namespace quillon {

namespace {

const QString noValue = QStringLiteral("-");

constexpr int lastGridColumn = 3;

QString column(const char* prefix, int number) {
    return QString::fromLatin1(prefix) + QString::number(number);
}

// A value as text, an absent one as the empty text.
QString textOf(const Value& value) {
    return value.isAbsent() ? QString() : value.toText();
}

} // namespace

PartDisplay::PartDisplay(AppContext& context, PartDetailFrame& frame, FlexGrid& grid,
                         CustomPriceEditor& customPrices)
    : context_(context), frame_(frame), grid_(grid), customPrices_(customPrices) {}

QString PartDisplay::shownText(const Value& value) {
    return value.isAbsent() ? noValue : value.toText();
}

QString PartDisplay::shownAmount(const Value& value, const LocaleFormats& formats) {
    if (value.isAbsent())
        return noValue;
    const Money amount = value.toMoney();
    return amount.isZero() ? noValue : formats.currency(amount);
}

QString PartDisplay::shownDiscountCode(const Value& value) {
    if (value.isAbsent())
        return noValue;
    bool zero = false;
    switch (value.kind()) {
    case Value::Kind::Integer:
        zero = value.toInteger() == 0;
        break;
    case Value::Kind::Amount:
        zero = value.toMoney().isZero();
        break;
    case Value::Kind::Boolean:
        zero = !value.toBool();
        break;
    case Value::Kind::Text: {
        const auto number = Money::fromPlainText(value.toText());
        zero = number && number->isZero();
        break;
    }
    case Value::Kind::Null:
        break;
    }
    return zero ? noValue : value.toText();
}

void PartDisplay::showSelectedPart() {
    ProgramState& state = context_.state;
    if (!state.resultsListed || showing_)
        return;
    const int row = grid_.row();
    if (row < 1 || row > static_cast<int>(state.resultPartIds.size()))
        return;
    showing_ = true;
    const auto done = qScopeGuard([this] { showing_ = false; });

    grid_.setCurrentCell(row, 0);
    grid_.setSelectionEnd(row, lastGridColumn);

    // Emptied as clearSelectedPart() does, but a thumbnail shown stays visible until the part's
    // own pictures decide: a slot that is shown for this part too asks no relayout.
    emptyFrame(false);
    const qint32 id = state.resultPartIds[static_cast<std::size_t>(row - 1)];
    state.selectedPart = SelectedPart();
    state.selectedPart.id = id;

    const Recordset part = state.catalogueDb->openRecordset(StatementBuilder::selectWhere(
        u"Parts", SqlCondition::equals(u"ID", SqlLiteral::number(id))));
    state.selectedPart = selectedValues(id, part);
    readPictureFiles(part);
    fillFields(part);
    fillLists(part);
    context_.window.setStatusText(state.selectedPart.description);
    showThumbnails();
    context_.window.setClearCommandsEnabled(true);
    customPrices_.showCustomPart();
}

SelectedPart PartDisplay::selectedValues(qint32 id, const Recordset& part) {
    const auto amount = [&part](QStringView column) {
        const Value& value = part.field(column);
        return value.isAbsent() ? Money() : value.toMoney();
    };
    return {id,
            textOf(part.field(u"RoverNum")),
            textOf(part.field(u"DorvaneNum")),
            textOf(part.field(u"Description")),
            textOf(part.field(u"UnitIssue")),
            amount(u"CustomerPrice"),
            amount(u"LRPrice")};
}

void PartDisplay::readPictureFiles(const Recordset& part) {
    ProgramState& state = context_.state;
    for (int slot = 1; slot <= ProgramState::pictureSlots; ++slot)
        state.pictureFiles[static_cast<std::size_t>(slot - 1)] =
            textOf(part.field(column("Picture", slot)));
}

void PartDisplay::fillFields(const Recordset& part) {
    frame_.txtRoverNumber->setValue(shownText(part.field(u"RoverNum")));
    frame_.txtDRNumber->setValue(shownText(part.field(u"DorvaneNum")));
    frame_.txtAltDRNumber->setValue(shownText(part.field(u"AltDorvaneNum")));
    frame_.txtDescription->setValue(shownText(part.field(u"Description")));
    frame_.txtCustomerPrice->setValue(shownAmount(part.field(u"CustomerPrice"), formats_));
    frame_.txtLRPrice->setValue(shownAmount(part.field(u"LRPrice"), formats_));
    frame_.txtCustomerLRPrice->setValue(shownAmount(part.field(u"CustomerLRPrice"), formats_));
    frame_.txtLRDiscountCode->setValue(shownDiscountCode(part.field(u"LRDiscountCode")));
    frame_.txtUnitSale->setValue(shownText(part.field(u"UnitSale")));
    frame_.txtUnitIssue->setValue(shownText(part.field(u"UnitIssue")));
    frame_.txtWeight->setValue(shownText(part.field(u"Weight")));
    frame_.txtProductGroup->setValue(shownText(part.field(u"ProductGroup")));
    frame_.txtBrand->setValue(shownText(part.field(u"Brand")));
}

void PartDisplay::fillLists(const Recordset& part) {
    for (int number = 1; number <= 6; ++number) {
        const Value& value = part.field(column("RoverSuper", number));
        if (!value.isAbsent())
            frame_.lstRoverSupers->addItem(value.toText());
    }
    for (int number = 1; number <= 9; ++number) {
        const Value& value = part.field(column("Application", number));
        if (!value.isAbsent())
            frame_.lstVehicleApplication->addItem(value.toText());
    }
}

bool PartDisplay::showThumbnail(int slot) {
    ProgramState& state = context_.state;
    const auto index = static_cast<std::size_t>(slot - 1);
    const QString& file = state.pictureFiles[index];
    QString& kind = state.pictureKinds[index];
    kind = file.right(3);
    const bool photograph = kind == u"jpg";
    const bool page = kind == u"htm" || kind == u"tml";
    if (!photograph && !page)
        return false;
    // A name that leads out of the images folder is never opened, neither here nor by a click.
    const auto path = PictureFile::path(context_.folder, file);
    if (!path)
        return false;
    ImageBox* image = frame_.images[index];
    // A photograph is read at the thumbnail's size; the picture window reads it whole.
    if (photograph)
        return image->loadPicture(*path);
    if (!htmlIconRead_) {
        htmlIcon_ = QPixmap(context_.folder.htmlIcon());
        htmlIconRead_ = true;
    }
    if (htmlIcon_.isNull())
        return false;
    image->setPicture(htmlIcon_);
    return true;
}

void PartDisplay::showThumbnails() {
    ProgramState& state = context_.state;
    htmlIconRead_ = false;
    htmlIcon_ = QPixmap();
    for (int slot = 1; slot <= ProgramState::pictureSlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        if (state.pictureFiles[index].isEmpty()) {
            state.pictureKinds[index].clear();
            frame_.images[index]->hide();
            continue;
        }
        // A picture that can't be loaded leaves its slot hidden, without a message.
        frame_.images[index]->setVisible(showThumbnail(slot));
    }
}

void PartDisplay::clearSelectedPart() {
    emptyFrame(true);
}

void PartDisplay::emptyFrame(bool hideThumbnails) {
    // An empty text, not clear(): clearing a selectable label drops its text document, and
    // the next part shown would have to make thirteen new ones.
    for (ValueField* field : frame_.valueFields())
        field->setText(QString());
    frame_.lstRoverSupers->clear();
    frame_.lstVehicleApplication->clear();
    customPrices_.clearBoxes();
    for (QString& file : context_.state.pictureFiles)
        file.clear();
    for (ImageBox* image : frame_.images) {
        image->clearPicture();
        if (hideThumbnails)
            image->hide();
    }
}

} // namespace quillon
