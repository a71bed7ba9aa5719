#include "part_fitment.h"

#include <iterator>
#include <vector>

namespace quillon {

namespace {

// Bits of the vehicle names, in the order of PartFitment::vehicleNames().
constexpr std::uint8_t series3 = 1 << 0;
constexpr std::uint8_t defender = 1 << 1;
constexpr std::uint8_t rangeRover = 1 << 2;
constexpr std::uint8_t newRangeRover = 1 << 3;
constexpr std::uint8_t discovery = 1 << 4;
constexpr std::uint8_t discovery2 = 1 << 5;
constexpr std::uint8_t td5 = 1 << 6;
constexpr std::uint8_t freelander = 1 << 7;
constexpr std::uint8_t everyVehicle = 0xff;

constexpr PartFitment dieselEngines[] = {
    {"2.25 DIESEL", series3},
    {"2.5 NA DIESEL", series3 | defender},
    {"2.5 TURBO DIESEL", defender},
    {"200TDI", defender | discovery | rangeRover},
    {"300TDI", defender | discovery | rangeRover},
    {"TD5", defender | discovery2 | td5},
    {"2.5 BMW DIESEL", newRangeRover},
    {"2.0 TD4", freelander},
    {"2.0 L SERIES DIESEL", freelander},
};

constexpr PartFitment petrolEngines[] = {
    {"2.25 PETROL", series3 | defender},
    {"2.5 PETROL", defender},
    {"V8 3.5 CARB", series3 | rangeRover | defender},
    {"V8 3.9 EFI", rangeRover | discovery | defender},
    {"V8 4.0/4.6", newRangeRover | discovery2},
    {"1.8 K SERIES", freelander},
    {"2.5 KV6", freelander},
};

constexpr PartFitment models[] = {
    {"SERIES 3", series3},
    {"SERIES 3 88/109", series3},
    {"DEFENDER 90", defender | td5},
    {"DEFENDER 110", defender | td5},
    {"DEFENDER 130", defender},
    {"DEFENDER 90/110", defender | td5},
    {"RANGE ROVER CLASSIC", rangeRover},
    {"RANGE ROVER P38", newRangeRover},
    {"DISCOVERY 1", discovery},
    {"DISCOVERY 2", discovery2 | td5},
    {"FREELANDER", freelander},
    {"DEFENDER/DISCOVERY 1", defender | discovery},
    {"DISCOVERY 1/RRC", discovery | rangeRover},
};

constexpr PartFitment universal[] = {
    {"", everyVehicle},
    {"", series3 | defender | rangeRover | discovery},
    {"", defender | discovery | discovery2 | td5},
    {"", rangeRover | newRangeRover | discovery | discovery2},
    {"", series3 | defender},
};

std::vector<PartFitment> engines() {
    std::vector<PartFitment> all(std::begin(dieselEngines), std::end(dieselEngines));
    all.insert(all.end(), std::begin(petrolEngines), std::end(petrolEngines));
    return all;
}

} // namespace

const QStringList& PartFitment::vehicleNames() {
    static const QStringList names = {
        QStringLiteral("Series 3"),    QStringLiteral("Defender"),   QStringLiteral("Range Rover"),
        QStringLiteral("New R/Rover"), QStringLiteral("Discovery"),  QStringLiteral("Discovery 2"),
        QStringLiteral("TD 5"),        QStringLiteral("Freelander"),
    };
    return names;
}

std::span<const PartFitment> PartFitment::all(Fits fits) {
    static const std::vector<PartFitment> allEngines = engines();
    switch (fits) {
    case Fits::Engine:
        return allEngines;
    case Fits::Diesel:
        return dieselEngines;
    case Fits::Petrol:
        return petrolEngines;
    case Fits::Model:
        return models;
    case Fits::Universal:
        return universal;
    }
    return universal;
}

} // namespace quillon
