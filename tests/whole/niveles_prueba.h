// Small levels and ranking files for whole-game tests, written into a game's scratch directory.
#pragma once
#include "formato.h"
#include <string>
#include <vector>

namespace prueba {

using Bytes = std::vector<unsigned char>;

// A level with every tile column drawn as road below and scenery above, no objects, speed code 3.
nivel::Nivel nivel_corto();
// Replaces the levels of the scratch directory `dir` with the given ones, named 01.map, 02.map...
void pon_niveles(const std::string &dir, std::initializer_list<nivel::Nivel> niveles);

Bytes lee(const std::string &ruta);
void escribe(const std::string &ruta, const Bytes &b);
void pon_registro(Bytes &b, int tabla, int fila, uint32_t puntos, const char *ini, unsigned char reservado);
// Three full tables with a different reserved byte in every record; the hard one has 12000 at
// place 3; place 10 of the easy one holds 5 points under two initials.
Bytes ranking_de_prueba();
// One line per record, "score INI reserved", so that a failure shows which rows differ.
std::string legible(const Bytes &b);

void espera(double segundos);

} // namespace prueba
