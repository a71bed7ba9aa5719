#pragma once

namespace quillon {

// What the drawing of a part shows; each part family has one.
enum class PartDrawing {
    Filter,
    BrakePads,
    BrakeDisc,
    Gasket,
    Bush,
    Lamp,
    Panel,
    Hose,
    Belt,
    Shock,
    Spring,
    Bearing,
    Mirror,
    Wiper,
    Pump,
    Plug,
    Cable,
    Seal,
    Switch,
    Bulb,
    Fixing,
    Silencer,
};

} // namespace quillon
