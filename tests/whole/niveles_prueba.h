// Small levels for whole-game tests, written into a game's scratch directory.
#pragma once
#include "formato.h"
#include <string>

namespace prueba {

// A level with every tile column drawn as road below and scenery above, no objects, speed code 3.
nivel::Nivel nivel_corto();
// Replaces the levels in `dir` with the given ones, named 01.map to 09.map.
void pon_niveles(const std::string &dir, std::initializer_list<nivel::Nivel> niveles);

} // namespace prueba
