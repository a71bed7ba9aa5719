#include "catalogue/part_detail_frame.h"

#include "catalogue/value_field.h"
#include "catalogue/value_field_accessible.h"
#include "platform/image_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>

namespace quillon {

namespace {

constexpr int thumbnailSide = 24;

// A field with room for `budget` characters from the start: numbers, prices and codes whole at
// once, the rare longer value widens its field when it comes.
ValueField* valueField(const char* name, int budget, QWidget* parent) {
    auto* field = new ValueField(budget, parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QLabel* captionLabel(const QString& caption, const QString& name, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

PartDetailFrame::PartDetailFrame(AppContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Part Detail"), parent), context_(context) {
    setObjectName(QStringLiteral("framePart"));
    ValueFieldAccessible::install();

    constexpr int number = 12;
    constexpr int price = 9; // a pound sign and 1,234.56
    constexpr int unit = 6;
    txtRoverNumber = valueField("txtRoverNumber", number, this);
    txtDRNumber = valueField("txtDRNumber", number, this);
    txtAltDRNumber = valueField("txtAltDRNumber", number, this);
    txtDescription = valueField("txtDescription", 44, this);
    txtCustomerPrice = valueField("txtCustomerPrice", price, this);
    txtLRPrice = valueField("txtLRPrice", price, this);
    txtCustomerLRPrice = valueField("txtCustomerLRPrice", price, this);
    txtLRDiscountCode = valueField("txtLRDiscountCode", unit, this);
    txtUnitSale = valueField("txtUnitSale", unit, this);
    txtUnitIssue = valueField("txtUnitIssue", unit, this);
    txtWeight = valueField("txtWeight", 8, this);
    txtProductGroup = valueField("txtProductGroup", 12, this);
    txtBrand = valueField("txtBrand", 14, this);

    // Five rows of fields, each with its caption label (lbl + the field's name without "txt");
    // the two lists beside rows 1 to 3 under their captions, the thumbnails under the lists
    // beside the last row: the frame is no taller than its rows of fields.
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(1);
    const auto place = [this, layout](ValueField* field, const QString& caption, int row,
                                      int column, int span = 1) {
        const QString name = QStringLiteral("lbl") + field->objectName().mid(3);
        // The last row takes the height the frame is given beyond what it needs; its fields
        // keep to its top.
        const Qt::Alignment vertical = row == 4 ? Qt::AlignTop : Qt::AlignVCenter;
        QLabel* label = captionLabel(caption, name, this);
        label->setBuddy(field); // a screen reader says what the value is
        layout->addWidget(label, row, column * 2, Qt::AlignRight | vertical);
        layout->addWidget(field, row, column * 2 + 1, 1, span * 2 - 1, Qt::AlignLeft | vertical);
    };
    place(txtDescription, QStringLiteral("Description:"), 0, 0, 3);
    place(txtDRNumber, QStringLiteral("DV Number:"), 1, 0);
    place(txtAltDRNumber, QStringLiteral("Alt DV Number:"), 2, 0);
    place(txtRoverNumber, QStringLiteral("Rover Number:"), 3, 0);
    place(txtBrand, QStringLiteral("Brand:"), 4, 0);
    place(txtCustomerPrice, QStringLiteral("DV Price:"), 1, 1);
    place(txtLRPrice, QStringLiteral("LR Price:"), 2, 1);
    place(txtCustomerLRPrice, QStringLiteral("Cust LR Price:"), 3, 1);
    place(txtLRDiscountCode, QStringLiteral("LR Discount:"), 4, 1);
    place(txtUnitIssue, QStringLiteral("Unit Issue:"), 1, 2);
    place(txtUnitSale, QStringLiteral("Unit Sale:"), 2, 2);
    place(txtWeight, QStringLiteral("Weight:"), 3, 2);
    place(txtProductGroup, QStringLiteral("Product Grp:"), 4, 2);

    const auto list = [this](const char* name) {
        auto* widget = new QListWidget(this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setMinimumSize(70, 40);
        widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
        return widget;
    };
    lblRoverSupers =
        captionLabel(QStringLiteral("&Rover Numbers:"), QStringLiteral("lblRoverSupers"), this);
    lstRoverSupers = list("lstRoverSupers");
    lblVehicleApplication = captionLabel(QStringLiteral("Vehicle &Applications:"),
                                         QStringLiteral("lblVehicleApplication"), this);
    lstVehicleApplication = list("lstVehicleApplication");
    lblRoverSupers->setBuddy(lstRoverSupers);
    lblVehicleApplication->setBuddy(lstVehicleApplication);
    constexpr int listsColumn = 7;
    layout->addWidget(lblRoverSupers, 0, listsColumn);
    layout->addWidget(lstRoverSupers, 1, listsColumn, 3, 1);
    layout->addWidget(lblVehicleApplication, 0, listsColumn + 1);
    layout->addWidget(lstVehicleApplication, 1, listsColumn + 1, 3, 1);
    layout->setColumnStretch(listsColumn, 1);
    layout->setColumnStretch(listsColumn + 1, 1);
    layout->setRowStretch(4, 1);

    auto* thumbnails = new QHBoxLayout;
    thumbnails->setSpacing(1);
    for (int slot = 0; slot < thumbnailCount; ++slot) {
        auto* image = new ImageBox(this);
        image->setObjectName(QStringLiteral("Image%1").arg(slot + 1));
        image->setAccessibleName(QStringLiteral("Picture %1").arg(slot + 1));
        image->setFixedSize(thumbnailSide, thumbnailSide);
        image->setFrameStyle(QFrame::Box | QFrame::Plain);
        QSizePolicy policy = image->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        image->setSizePolicy(policy);
        image->hide();
        images[static_cast<std::size_t>(slot)] = image;
        thumbnails->addWidget(image);
    }
    thumbnails->addStretch(1);
    layout->addLayout(thumbnails, 4, listsColumn, 1, 2);
}

std::array<ValueField*, PartDetailFrame::fieldCount> PartDetailFrame::valueFields() const {
    return {txtRoverNumber, txtDRNumber,        txtAltDRNumber,    txtDescription, txtCustomerPrice,
            txtLRPrice,     txtCustomerLRPrice, txtLRDiscountCode, txtUnitSale,    txtUnitIssue,
            txtWeight,      txtProductGroup,    txtBrand};
}

} // namespace quillon
