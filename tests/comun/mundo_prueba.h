// A world to run game code on: plain-coloured pictures of the right sizes and a reset state.
#pragma once
#include "allegro_vz.h"
#include "game/mundo.h"
#include <gtest/gtest.h>

namespace prueba {

// Tile t is filled with colour 100 + t; sprite i with colour 1 + i inside a 0 (transparent) border.
class Mundo : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Empties the level: every record empty, every map cell tile 0, speed code 1.
    void nivel_vacio();
    void objeto(int i, int columna, int posy, int tipo);
    // Moves the view so that its left edge is at level x `v` (scr5 and scr1 set accordingly).
    void vista_en(int v);
    // Level start as the frame loops do it, at `fps` ticks per second and difficulty `d`.
    void empieza(int fps = 75, int d = 1, int codigo = 1);

    vz::enemigo tabla[vz::NUM_ENEMIGOS];
    BITMAP *pagina = nullptr;
};

} // namespace prueba
