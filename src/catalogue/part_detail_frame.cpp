#include "catalogue/part_detail_frame.h"

#include "catalogue/value_field.h"
#include "catalogue/value_field_accessible.h"
#include "platform/image_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int thumbnailSide = 48;

QLabel* valueField(const char* name, QWidget* parent) {
    auto* field = new ValueField(parent);
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

    txtRoverNumber = valueField("txtRoverNumber", this);
    txtDRNumber = valueField("txtDRNumber", this);
    txtAltDRNumber = valueField("txtAltDRNumber", this);
    txtDescription = valueField("txtDescription", this);
    // The description has the width of three fields; a longer one never widens the window.
    txtDescription->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    txtCustomerPrice = valueField("txtCustomerPrice", this);
    txtLRPrice = valueField("txtLRPrice", this);
    txtCustomerLRPrice = valueField("txtCustomerLRPrice", this);
    txtLRDiscountCode = valueField("txtLRDiscountCode", this);
    txtUnitSale = valueField("txtUnitSale", this);
    txtUnitIssue = valueField("txtUnitIssue", this);
    txtWeight = valueField("txtWeight", this);
    txtProductGroup = valueField("txtProductGroup", this);
    txtBrand = valueField("txtBrand", this);

    // Each value field with its caption label (lbl + the field's name without "txt").
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(3);
    const auto place = [this, fields](QLabel* field, const QString& caption, int row, int column,
                                      int span = 1) {
        const QString name = QStringLiteral("lbl") + field->objectName().mid(3);
        QLabel* label = captionLabel(caption, name, this);
        label->setBuddy(field); // a screen reader says what the value is
        fields->addWidget(label, row, column * 2, Qt::AlignRight);
        fields->addWidget(field, row, column * 2 + 1, 1, span * 2 - 1);
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
    for (int column : {1, 3, 5})
        fields->setColumnStretch(column, 1);

    const auto list = [this](const char* name) {
        auto* widget = new QListWidget(this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setMinimumSize(100, 60);
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
    auto* supersColumn = new QVBoxLayout;
    supersColumn->addWidget(lblRoverSupers);
    supersColumn->addWidget(lstRoverSupers, 1);
    auto* applicationsColumn = new QVBoxLayout;
    applicationsColumn->addWidget(lblVehicleApplication);
    applicationsColumn->addWidget(lstVehicleApplication, 1);

    auto* thumbnails = new QHBoxLayout;
    thumbnails->setSpacing(6);
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

    // The thumbnails under the fields, and the two lists beside both, as tall as they are.
    auto* valuesAndPictures = new QVBoxLayout;
    valuesAndPictures->addLayout(fields);
    valuesAndPictures->addLayout(thumbnails);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(valuesAndPictures, 3);
    layout->addSpacing(8);
    layout->addLayout(supersColumn, 1);
    layout->addLayout(applicationsColumn, 1);
}

std::array<QLabel*, PartDetailFrame::fieldCount> PartDetailFrame::valueFields() const {
    return {txtRoverNumber, txtDRNumber,        txtAltDRNumber,    txtDescription, txtCustomerPrice,
            txtLRPrice,     txtCustomerLRPrice, txtLRDiscountCode, txtUnitSale,    txtUnitIssue,
            txtWeight,      txtProductGroup,    txtBrand};
}

} // namespace quillon
