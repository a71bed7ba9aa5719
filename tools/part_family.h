#pragma once

#include "part_drawing.h"

#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// A kind of part that a Land Rover specialist sells, with what the demo catalogue needs to
// invent believable parts of it.
struct PartFamily {
    // Which engines or models a part of the family is made for.
    enum class Fits { Engine, Diesel, Petrol, Model, Universal };

    const char* code;               // two letters that begin the supplier numbers
    std::vector<const char*> names; // trade descriptions, before the fitment
    Fits fits;
    const char* productGroup;
    const char* unitSale;
    std::vector<const char*> unitIssues; // the first is the usual one
    int gramsLow, gramsHigh;
    int penceLow, penceHigh;
    bool sided; // sold as left-hand and right-hand versions
    PartDrawing drawing;
    int weight; // how common the family is in the catalogue

    // A fitment: the text that ends a description, and the vehicles (bit i stands for
    // vehicleNames()[i]).
    struct Fitment {
        const char* label;
        std::uint8_t vehicles;
    };

    [[nodiscard]] static const std::vector<PartFamily>& all();
    [[nodiscard]] static std::span<const Fitment> fitments(Fits fits);
    // The eight vehicle names of the catalogue's applications, in the catalogue's order.
    [[nodiscard]] static const QStringList& vehicleNames();
};

} // namespace quillon
