#pragma once

#include <QStringList>
#include <cstdint>
#include <span>

namespace quillon {

// What a part of the demo catalogue is made for: the text that ends its description and the
// vehicles it fits.
struct PartFitment {
    // Which engines or models a part is made for.
    enum class Fits { Engine, Diesel, Petrol, Model, Universal };

    const char* label;     // "" for a part that names no engine or model
    std::uint8_t vehicles; // bit i stands for vehicleNames()[i]

    // The fitments of that kind.
    [[nodiscard]] static std::span<const PartFitment> all(Fits fits);
    // The eight vehicle names of the catalogue's applications, in the catalogue's order.
    [[nodiscard]] static const QStringList& vehicleNames();
};

} // namespace quillon
