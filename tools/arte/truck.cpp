// The player's truck, 46 x 36, drawn facing left because the game mirrors it: ram and hood on the
// left, the bed and exhaust stack on the right. The light comes from the upper right here, so on
// screen it falls from the upper left like on everything else. Five frames turn the wheels,
// puff the exhaust and bump the body once.
#include "art.h"
#include "paint.h"

#include <cmath>

namespace arte {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kWheelY = 29.0f, kWheelR = 6.6f;
constexpr float kFrontX = 10.5f, kRearX = 35.0f;

void wheel(Image &img, const Palette &pal, Light light, float cx, float turn) {
    Painter p(img, pal, light);
    p.paint(circle(cx, kWheelY, kWheelR), p.style("grey", 1, 5, 3, 0));
    // Tread blocks around the tyre, turning with the wheel.
    for (int k = 0; k < 10; ++k) {
        const float a = turn + k * 2.0f * kPi / 10.0f;
        const int x = static_cast<int>(std::floor(cx + std::cos(a) * (kWheelR - 0.9f)));
        const int y = static_cast<int>(std::floor(kWheelY + std::sin(a) * (kWheelR - 0.9f)));
        img.set(x, y, pal.ramp("grey", 1));
    }
    p.paint(circle(cx, kWheelY, 3.6f), p.style("steel", 5, 12, 2.5f, 1));
    for (int k = 0; k < 5; ++k) { // wheel nuts
        const float a = turn + k * 2.0f * kPi / 5.0f;
        img.set(static_cast<int>(std::floor(cx + std::cos(a) * 2.3f)),
                static_cast<int>(std::floor(kWheelY + std::sin(a) * 2.3f)), pal.ramp("steel", 2));
    }
    img.set(static_cast<int>(cx), static_cast<int>(kWheelY), pal.ramp("steel", 14));
}

Image body(const Palette &pal, Light light) {
    Image img(kTruckW, kTruckH);
    Painter p(img, pal, light);
    const Style paint = p.style("blood", 3, 11, 3, 0);
    const Style armour = p.style("steel", 3, 10, 2, 0);
    const Style chrome = p.style("grey", 6, 14, 1, 1);
    const int dark = pal.ramp("grey", 1);
    // Exhaust stack behind the cab.
    p.paint(box(30, 3, 31, 16), chrome);
    p.paint(box(29, 3, 32, 4), chrome);
    // Bed: an armour box with spikes along its top.
    for (float x : {33.0f, 37.0f, 41.0f})
        p.paint(polygon({{x - 2.5f, 13}, {x, 6.5f}, {x + 1.5f, 13}}),
                p.style("grey", 6, 14, 1.5f, 1));
    p.paint(box(28, 12, 43, 21, 1), paint);
    // Cab and hood, with a light bar on the roof.
    p.paint(polygon({{13, 19}, {17, 6}, {29, 5}, {29, 19}}), paint);
    p.paint(box(18, 3, 28, 4), p.style("steel", 3, 9, 1, 0));
    for (int x = 19; x <= 27; x += 3)
        img.set(x, 3, pal.ramp("glow", 6));
    p.paint(polygon({{5, 14}, {15, 12}, {20, 12}, {20, 22}, {5, 22}}), paint);
    for (int x = 7; x <= 13; x += 3)
        img.set(x, 14, pal.ramp("blood", 2)); // bonnet vents
    // Armoured window: dark glass behind a grille.
    p.flat(polygon({{17.5f, 12}, {19.5f, 7}, {28, 6.5f}, {28, 12}}), pal.ramp("teal", 2));
    for (int x = 21; x <= 27; x += 3)
        for (int y = 7; y <= 11; ++y)
            img.set(x, y, pal.ramp("steel", 7));
    img.set(20, 8, pal.ramp("teal", 10));
    img.set(19, 10, pal.ramp("teal", 8));
    // Lower armour skirt with rivets, and a stripe along the side.
    p.paint(box(4, 20, 43, 27, 1), armour);
    for (int x = 7; x < 43; x += 5)
        img.set(x, 22, pal.ramp("steel", 13));
    for (int x = 14; x <= 42; ++x)
        img.set(x, 17, pal.ramp("gold", 11));
    for (int x = 14; x <= 42; ++x)
        img.set(x, 18, pal.ramp("gold", 7));
    // Wheel wells.
    p.flat(meet(circle(kFrontX, kWheelY, 8.2f), box(0, 21, 45, 35)), dark);
    p.flat(meet(circle(kRearX, kWheelY, 8.2f), box(0, 21, 45, 35)), dark);
    // Headlight, tail light, door handle.
    p.flat(box(6, 15, 8, 17), pal.ramp("glow", 7));
    p.flat(box(43, 13, 43, 15), pal.ramp("blood", 13));
    img.set(26, 14, pal.ramp("grey", 2));
    img.set(25, 14, pal.ramp("grey", 2));
    // The ram: a striped bumper plate, a cow-catcher below it and three spikes to the left.
    Sdf plate = box(3, 16, 6, 31);
    p.paint(plate, armour);
    for (int y = 16; y <= 31; ++y)
        for (int x = 3; x <= 6; ++x)
            if (((x + y) / 2) % 2 == 0) img.set(x, y, pal.ramp("gold", 11));
    for (int k = 0; k < 3; ++k) {
        const float y = 24.0f + k * 3.0f;
        p.paint(capsule(3, y, 7.5f, y + 3.5f, 0.8f), chrome);
    }
    for (int y : {18, 24, 30})
        p.paint(polygon({{2, float(y) + 0.5f}, {4.5f, float(y) - 1.5f}, {4.5f, float(y) + 2.5f}}),
                chrome);
    return img;
}

} // namespace

std::vector<Image> make_truck(const Palette &pal) {
    const Light light = Light{}.flipped();
    const Image hull = body(pal, light);
    const int bump[kTruckFrames] = {0, 0, 1, 0, 0};
    std::vector<Image> frames;
    for (int f = 0; f < kTruckFrames; ++f) {
        Image img(kTruckW, kTruckH);
        img.blit_masked(hull, 0, bump[f]);
        // Driving left in the sheet: the wheels turn anticlockwise, one fifth of a nut step a
        // frame.
        const float turn = -f * (2.0f * kPi / 5.0f) / kTruckFrames;
        wheel(img, pal, light, kFrontX, turn);
        wheel(img, pal, light, kRearX, turn);
        // Exhaust: a puff leaves the stack and drifts back (right) as it grows and fades.
        Painter p(img, pal, light);
        const float t = f / float(kTruckFrames);
        const float px = 32.5f + 9.0f * t, py = 1.8f + 0.4f * t, r = 1.3f + 1.4f * t;
        for (int y = 1; y < 6; ++y) // row 0 stays clear
            for (int x = 28; x < kTruckW - 1; ++x) {
                const float d = std::hypot(x + 0.5f - px, y + 0.5f - py);
                if (d < r && img.at(x, y) == 0 && bayer(x, y) < 1.0f - 0.5f * t)
                    img.set(x, y, pal.ramp("grey", (d < r * 0.5f ? 12 : 10) - f));
            }
        if (f == 0) { // backfire
            img.set(30, 2, pal.ramp("fire", 12));
            img.set(31, 2, pal.ramp("fire", 9));
            img.set(31, 1, pal.ramp("fire", 6));
        }
        frames.push_back(img);
    }
    return frames;
}

} // namespace arte
