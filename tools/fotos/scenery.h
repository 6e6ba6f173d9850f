// Things that appear in more than one picture: the truck, the monsters, skies and roads.
#pragma once

#include "canvas.h"

namespace fotos {

// Maps a drawing's own units (x right, y up from the ground) onto the picture.
struct Place {
    float x = 0, y = 0, s = 1;
    Pt operator()(float u, float v) const { return {x + u * s, y - v * s}; }
    float len(float u) const { return u * s; }
};

// How the scene lights the truck: `rim` is warm light from the right (the rising sun); with
// none, moonlight catches its top edges.
struct Light {
    float rim = 0;
};

// The armoured pickup, facing right; `at` is the rear end of the body on the ground.
// The truck is about 210 units long and 125 high with its exhaust.
void truck(Canvas &c, const Place &at, const Light &light);
// Headlight position of a truck drawn at `at`, for the beam.
Pt headlight(const Place &at);

// A hulking zombie facing left with its arms up; `at` is between its feet. About 78 high.
void zombie(Canvas &c, const Place &at, Ramp skin);
// A horned imp with bat wings facing left; about 70 high with its horns.
void imp(Canvas &c, const Place &at, Ramp skin);
// A beaten monster lying on its back, legs in the air; about 60 long.
void fallen(Canvas &c, const Place &at, Ramp skin, int kind);

// Things on the road: a fuel drum, a money bag and what is left of a run-over monster.
// `at` is the middle of the base; each is about 24 high.
void barrel(Canvas &c, const Place &at);
void money_bag(Canvas &c, const Place &at);
void remains(Canvas &c, const Place &at, Ramp skin);

// A vertical gradient over rows y0..y1 of the ramp, `curve` bending it (1 straight).
void sky(Canvas &c, Ramp r, int y0, int y1, float curve);
void stars(Canvas &c, int y_max, int count, int seed);
// A range of hills whose ridge wanders around `base` by `height`; everything below is filled.
Mask ridge(const Canvas &c, float base, float height, float scale, int seed);

} // namespace fotos
