#pragma once

#include <QGroupBox>
#include <array>

class QLabel;
class QListWidget;

namespace quillon {

struct AppContext;
class ImageBox;
class ValueField;

// The "Part Detail" frame (framePart): the thirteen value fields with their caption labels in
// five rows, beside them the superseded numbers and vehicle applications lists (no taller than
// those rows until the frame is given more height), and under the fields the nine picture
// thumbnails (hidden while they show nothing; a hidden slot keeps its place).
class PartDetailFrame final : public QGroupBox {
    Q_OBJECT

public:
    explicit PartDetailFrame(AppContext& context, QWidget* parent = nullptr);

    static constexpr int fieldCount = 13;
    static constexpr int thumbnailCount = 9;

    // Value fields (read-only labels whose text can be selected and copied), in the order the
    // display fills them.
    ValueField* txtRoverNumber;
    ValueField* txtDRNumber;
    ValueField* txtAltDRNumber;
    ValueField* txtDescription;
    ValueField* txtCustomerPrice;
    ValueField* txtLRPrice;
    ValueField* txtCustomerLRPrice;
    ValueField* txtLRDiscountCode;
    ValueField* txtUnitSale;
    ValueField* txtUnitIssue;
    ValueField* txtWeight;
    ValueField* txtProductGroup;
    ValueField* txtBrand;
    // The thirteen above in the same order.
    std::array<ValueField*, fieldCount> valueFields() const;

    QLabel* lblRoverSupers;
    QListWidget* lstRoverSupers;
    QLabel* lblVehicleApplication;
    QListWidget* lstVehicleApplication;

    // Image1 ... Image9 at index 0 ... 8.
    std::array<ImageBox*, thumbnailCount> images;

private:
    AppContext& context_;
};

} // namespace quillon
