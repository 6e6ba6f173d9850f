#include "frame/ajustes.h"

namespace vz {

// The library's DirectInput driver counts the axes X, Y and Z (an Xbox-style pad's triggers) as
// one stick, then Rz, then the sliders, then the d-pad (the hat) as two axes, across and up-down;
// it does not read Rx and Ry. So an Xbox-style pad has the left stick at 0 and 1 and the d-pad at
// 3 and 4; a PlayStation pad (right stick Z and Rz) has its d-pad at 4 and 5.
const PadSistema PAD_SISTEMA = {
    1 << 1 | 1 << 4, 1 << 0 | 1 << 3,
    "# PlayStation pad: square 0, cross 1, circle 2, triangle 3, share 8, options 9.\n",
    "Xbox-style\n"
    "# pads: left stick 0 (across) and 1 (up-down), d-pad 3 and 4. PlayStation pads:\n"
    "# left stick 0 and 1, d-pad 4 and 5.\n"};

} // namespace vz
