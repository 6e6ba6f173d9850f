#include "frame/ajustes.h"

namespace vz {

// The joystick device numbers a pad's axes as its driver lists them: an Xbox-style pad and a
// PlayStation one have the left stick at 0 and 1 and the d-pad at 6 and 7.
const PadSistema PAD_SISTEMA = {
    1 << 1 | 1 << 7, 1 << 0 | 1 << 6,
    "# PlayStation pad: cross 0, circle 1, triangle 2, square 3, share 8, options 9.\n",
    "Xbox-style\n"
    "# and PlayStation pads: left stick 0 (across) and 1 (up-down), d-pad 6 and 7.\n"};

} // namespace vz
