// The menu screens' own screen clear (the frame loops have theirs).
#pragma once
#include "allegro_vz.h"

namespace vz::menu {

inline void clear(BITMAP *bmp) { clear_bitmap(bmp); }

} // namespace vz::menu
