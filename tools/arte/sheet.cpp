#include "art.h"

namespace arte {

Image make_sheet(const Palette &pal) {
    Image sheet(kSheetW, kSheetH);
    const auto flames = make_flames(pal);
    for (int i = 0; i < 6; ++i) {
        sheet.blit(flames[6 + i], i * kFlameW, kFlameY); // frames 6-11 on top
        sheet.blit(flames[i], i * kFlameW, kFlameY + kFlameH);
    }
    const auto splashes = make_splashes(pal);
    for (int i = 0; i < kSplashes; ++i)
        sheet.blit(splashes[i], i * kSplashW, kSplashY);
    const auto objects = make_objects(pal);
    for (int i = 0; i < kObjects; ++i)
        sheet.blit(objects[i], i * kObjectW, kObjectY);
    const auto truck = make_truck(pal);
    for (int i = 0; i < kTruckFrames; ++i)
        sheet.blit(truck[i], i * kTruckW, kTruckY);
    const auto tiles = make_tiles(pal);
    for (int i = 0; i < kTiles; ++i)
        sheet.blit(tiles[i], (i % 10) * kTileW, kTileY + (i / 10) * kTileH);
    sheet.blit(make_panel(pal), 0, kPanelY);
    return sheet;
}

} // namespace arte
