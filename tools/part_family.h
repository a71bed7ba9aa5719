#pragma once

#include "part_drawing.h"
#include "part_fitment.h"

#include <vector>

namespace quillon {

// A kind of part that a Land Rover specialist sells, with what the demo catalogue needs to
// invent believable parts of it.
struct PartFamily {
    // Which engines or models a part of the family is made for.
    using Fits = PartFitment::Fits;
    // A whole number drawn between two bounds, both included.
    struct Bounds {
        int low;
        int high;
    };

    const char* code;               // two letters that begin the supplier numbers
    std::vector<const char*> names; // trade descriptions, before the fitment
    Fits fits;
    const char* productGroup;
    const char* unitSale;
    std::vector<const char*> unitIssues; // the first is the usual one
    Bounds grams;                        // the weight of one part
    Bounds pence;                        // the trade price
    bool sided;                          // sold as left-hand and right-hand versions
    PartDrawing drawing;
    int weight; // how common the family is in the catalogue

    [[nodiscard]] static const std::vector<PartFamily>& all();
};

} // namespace quillon
