#include "paint.h"

#include <algorithm>
#include <cmath>

namespace arte {

Sdf circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf ellipse(float cx, float cy, float rx, float ry) {
    // First-order distance (the implicit function over its gradient): close to exact near the
    // outline, so outlines keep one pixel of width around long thin ellipses too.
    return [=](float x, float y) {
        const float px = x - cx, py = y - cy;
        const float k0 = std::hypot(px / rx, py / ry);
        const float k1 = std::hypot(px / (rx * rx), py / (ry * ry));
        if (k1 < 1e-6f) return -std::min(rx, ry);
        return k0 * (k0 - 1.0f) / k1;
    };
}

Sdf capsule(float x0, float y0, float x1, float y1, float r0, float r1) {
    return [=](float x, float y) {
        const float bx = x1 - x0, by = y1 - y0;
        const float len2 = bx * bx + by * by;
        float t = len2 > 0 ? ((x - x0) * bx + (y - y0) * by) / len2 : 0.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        return std::hypot(x - (x0 + bx * t), y - (y0 + by * t)) - (r0 + (r1 - r0) * t);
    };
}

Sdf capsule(float x0, float y0, float x1, float y1, float r) {
    return capsule(x0, y0, x1, y1, r, r);
}

Sdf box(float x0, float y0, float x1, float y1, float r) {
    // Pixel centres sit at +0.5; the box covers whole pixels x0..x1, y0..y1.
    const float cx = (x0 + x1 + 1) * 0.5f, cy = (y0 + y1 + 1) * 0.5f;
    const float hx = (x1 - x0 + 1) * 0.5f - r, hy = (y1 - y0 + 1) * 0.5f - r;
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        const float out = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return out + std::min(std::max(qx, qy), 0.0f) - r;
    };
}

Sdf polygon(std::vector<Pt> v) {
    return [v = std::move(v)](float x, float y) {
        float d = 1e9f;
        bool in = false;
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            const float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
            const float wx = x - v[i].x, wy = y - v[i].y;
            const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
            if ((v[i].y > y) != (v[j].y > y) &&
                x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
                in = !in;
        }
        return in ? -d : d;
    };
}

Sdf unite(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Sdf cut(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Sdf meet(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Sdf blend(Sdf a, Sdf b, float k) {
    return [=](float x, float y) {
        const float da = a(x, y), db = b(x, y);
        const float h = std::clamp(0.5f + 0.5f * (db - da) / k, 0.0f, 1.0f);
        return db + (da - db) * h - k * h * (1.0f - h);
    };
}

Sdf moved(Sdf a, float dx, float dy) {
    return [=](float x, float y) { return a(x - dx, y - dy); };
}

Style Painter::style(const std::string &name, int lo, int hi, float depth, int ol) const {
    const Ramp &r = pal_.ramp_of(name);
    Style st;
    st.first = r.first;
    st.count = r.count;
    st.lo = lo;
    st.hi = hi;
    st.depth = depth;
    st.outline = ol >= 0 ? r.first + std::min(ol, r.count - 1) : -1;
    return st;
}

void Painter::outline(const Sdf &s, int colour, float width) {
    for (int y = 0; y < img_.h; ++y)
        for (int x = 0; x < img_.w; ++x) {
            const float d = s(x + 0.5f, y + 0.5f);
            if (d > 0.0f && d <= width) img_.set(x, y, colour);
        }
}

void Painter::flat(const Sdf &s, int colour) {
    for (int y = 0; y < img_.h; ++y)
        for (int x = 0; x < img_.w; ++x)
            if (s(x + 0.5f, y + 0.5f) <= 0.0f) img_.set(x, y, colour);
}

void Painter::paint(const Sdf &s, const Style &st) {
    if (st.outline >= 0) outline(s, st.outline);
    const float ln = std::sqrt(light_.x * light_.x + light_.y * light_.y + light_.z * light_.z);
    const float lx = light_.x / ln, ly = light_.y / ln, lz = light_.z / ln;
    for (int y = 0; y < img_.h; ++y)
        for (int x = 0; x < img_.w; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = s(px, py);
            if (d > 0.0f) continue;
            // The surface is a rounded solid: the normal tilts outwards within `depth` of the edge.
            const float e = 0.5f;
            float gx = s(px + e, py) - s(px - e, py);
            float gy = s(px, py + e) - s(px, py - e);
            const float gl = std::hypot(gx, gy);
            if (gl > 1e-6f) {
                gx /= gl;
                gy /= gl;
            }
            const float tilt = 1.0f - std::clamp(-d / st.depth, 0.0f, 1.0f);
            const float nx = gx * tilt, ny = gy * tilt;
            const float nz = std::sqrt(std::max(0.0f, 1.0f - tilt * tilt));
            const float lit = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            float v = std::clamp(0.15f + 0.95f * lit, 0.0f, 1.0f);
            if (st.bands > 1) v = std::round(v * (st.bands - 1)) / (st.bands - 1);
            const int level = st.lo + static_cast<int>(std::lround(v * (st.hi - st.lo)));
            img_.set(x, y, st.first + std::clamp(level, 0, st.count - 1));
        }
}

float hash01(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffff) / 16777216.0f;
}

float value_noise(float x, float y, float cell, int seed, int period_x) {
    const float fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = fx - ix, ty = fy - iy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        if (period_x > 0) i = ((i % period_x) + period_x) % period_x;
        return hash01(i, j, seed);
    };
    const float a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const float b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return a + (b - a) * sy;
}

float bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5f) / 16.0f;
}

} // namespace arte
