// Shape drawing for the art tool: shapes are signed distance functions (negative inside), filled
// with a palette ramp shaded as a rounded solid under one light, with a dark outline drawn first.
#pragma once

#include "image.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace arte {

using Sdf = std::function<float(float, float)>;

struct Pt {
    float x, y;
};

Sdf circle(float cx, float cy, float r);
Sdf ellipse(float cx, float cy, float rx, float ry);
// A stroke from (x0, y0) to (x1, y1) whose radius goes from r0 to r1.
Sdf capsule(float x0, float y0, float x1, float y1, float r0, float r1);
Sdf capsule(float x0, float y0, float x1, float y1, float r);
// Box over pixel columns x0..x1 and rows y0..y1 (inclusive), corners rounded by r.
Sdf box(float x0, float y0, float x1, float y1, float r = 0.0f);
Sdf polygon(std::vector<Pt> pts);
Sdf unite(Sdf a, Sdf b);
Sdf cut(Sdf a, Sdf b); // a without b
Sdf meet(Sdf a, Sdf b);
Sdf blend(Sdf a, Sdf b, float k); // smooth union, k = blend radius
Sdf moved(Sdf a, float dx, float dy);

struct Light {
    float x = -0.55f, y = -0.65f, z = 0.52f; // from the upper left, towards the viewer
    Light flipped() const { return Light{-x, y, z}; }
};

// How a shape is filled: ramp levels lo..hi, "depth" = the radius of the rounded solid in pixels,
// bands = number of distinct shades, outline = palette index drawn 1 px around (or -1).
struct Style {
    int first = 0;
    int count = 1;
    int lo = 0;
    int hi = 0;
    float depth = 4.0f;
    int bands = 4;
    int outline = -1;
};

class Painter {
  public:
    Painter(Image &img, const Palette &pal, Light light = {})
        : img_(img), pal_(pal), light_(light) {}

    // A style on ramp `name` from level lo to hi; outline = the ramp's level `ol` (or none if < 0).
    Style style(const std::string &name, int lo, int hi, float depth, int ol = 0) const;

    void paint(const Sdf &s, const Style &st);
    void outline(const Sdf &s, int colour, float width = 1.0f);
    void flat(const Sdf &s, int colour);
    Image &image() { return img_; }
    const Palette &palette() const { return pal_; }
    void set_light(Light l) { light_ = l; }

  private:
    Image &img_;
    const Palette &pal_;
    Light light_;
};

// Deterministic noise: hash01 is white noise in [0, 1); value noise is smooth and repeats every
// `period` cells along x (0 = never), so tiles built from it join at their left and right edges.
float hash01(int x, int y, int seed);
float value_noise(float x, float y, float cell, int seed, int period_x = 0);

// 4 x 4 ordered dither threshold in [0, 1).
float bayer(int x, int y);

} // namespace arte
