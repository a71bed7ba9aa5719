#pragma once

#include <QGroupBox>
#include <array>

class QLabel;
class QListWidget;

namespace quillon {

struct AppContext;
class ImageBox;

// The "Part Detail" frame (framePart): the thirteen value fields with their caption labels, the
// superseded numbers and vehicle applications lists, and the nine picture thumbnails (hidden
// while they show nothing; a hidden slot keeps its place).
class PartDetailFrame final : public QGroupBox {
    Q_OBJECT

public:
    explicit PartDetailFrame(AppContext& context, QWidget* parent = nullptr);

    static constexpr int fieldCount = 13;
    static constexpr int thumbnailCount = 9;

    // Value fields (read-only labels whose text can be selected and copied), in the order the
    // display fills them.
    QLabel* txtRoverNumber;
    QLabel* txtDRNumber;
    QLabel* txtAltDRNumber;
    QLabel* txtDescription;
    QLabel* txtCustomerPrice;
    QLabel* txtLRPrice;
    QLabel* txtCustomerLRPrice;
    QLabel* txtLRDiscountCode;
    QLabel* txtUnitSale;
    QLabel* txtUnitIssue;
    QLabel* txtWeight;
    QLabel* txtProductGroup;
    QLabel* txtBrand;
    // The thirteen above in the same order.
    std::array<QLabel*, fieldCount> valueFields() const;

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
