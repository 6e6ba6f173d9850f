// Single include point for the library, so every module sees the same settings
// (ALLEGRO_NO_COMPATIBILITY comes from the build).
#pragma once
#include <allegro.h>
