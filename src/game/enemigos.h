// Object scan: draw list and collision test.
#pragma once

namespace vz {

// Rebuilds the draw list; returns the tipo of the object touching the vehicle, or 0.
int enemivieja(int modo);

} // namespace vz
