// The three full-screen pictures: the studio splash, the title and the victory scene.
#pragma once

#include "canvas.h"
#include "letters.h"

namespace fotos {

const int SCREEN_W = 320;
const int SCREEN_H = 240;

Picture studio_picture(const Letters &letters);
Picture title_picture(const Letters &letters);
Picture victory_picture(const Letters &letters);

} // namespace fotos
