// A world to run game code on: the game's own headless set-up with the shipped pictures, sounds
// and font, `screen` a memory page, a reset state and a ranking file of ranking_base().
#pragma once
#include "allegro_vz.h"
#include "entorno.h"
#include "game/mundo.h"
#include <gtest/gtest.h>

namespace prueba {

class Mundo : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  public:
    // Empties the level: every record empty, speed code 1, roadside above and road below.
    static void nivel_vacio();
    static void objeto(int i, int columna, int posy, int tipo);
    // Moves the view so that its left edge is at level x `v` (scr5 and scr1 set accordingly).
    static void vista_en(int v);
    // Level start as the frame loops do it, at `fps` ticks per second and difficulty `d`.
    static void empieza(int fps = 75, int d = 1, int codigo = 1);
};

} // namespace prueba
