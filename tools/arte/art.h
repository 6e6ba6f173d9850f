// The pieces of the sprite sheet, each drawn by code from the palette's ramps.
#pragma once

#include "image.h"

#include <vector>

namespace arte {

// Sheet geometry: where the game cuts every piece from.
constexpr int kSheetW = 320;
constexpr int kSheetH = 568;
constexpr int kFlameW = 50, kFlameH = 122, kFlames = 12;
constexpr int kSplashW = 70, kSplashH = 72, kSplashes = 4;
constexpr int kObjectW = 37, kObjectH = 72, kObjects = 8;
constexpr int kTruckW = 46, kTruckH = 36, kTruckFrames = 5;
constexpr int kTileW = 32, kTileH = 24, kTiles = 40;
constexpr int kPanelW = 320, kPanelH = 48;
constexpr int kFlameY = 0, kSplashY = 244, kObjectY = 316, kTruckY = 388, kTileY = 424,
              kPanelY = 520;

std::vector<Image> make_flames(const Palette &pal);   // flame frames 0..11
std::vector<Image> make_splashes(const Palette &pal); // fresh to fading
std::vector<Image> make_objects(const Palette &pal);  // kinds 1..8
std::vector<Image> make_truck(const Palette &pal);    // facing left, frames 0..4
std::vector<Image> make_tiles(const Palette &pal);    // tiles 0..39
Image make_panel(const Palette &pal);

Image make_sheet(const Palette &pal);

} // namespace arte
