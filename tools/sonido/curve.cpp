#include "curve.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace sonido {

namespace {

double number(std::string_view s, std::string_view whole) {
    std::string text(s);
    std::size_t used = 0;
    double v = 0.0;
    try {
        v = std::stod(text, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (text.empty() || used != text.size())
        throw std::runtime_error("bad number in '" + std::string(whole) + "'");
    return v;
}

} // namespace

Curve Curve::parse(std::string_view text) {
    Curve c;
    std::vector<bool> pinned;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('>', begin);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(begin, end - begin);
        std::size_t at = part.find('@');
        double value = number(part.substr(0, at), text);
        if (!(value > 0.0))
            throw std::runtime_error("values must be positive in '" + std::string(text) + "'");
        double pos = 0.0;
        if (at != std::string_view::npos) pos = number(part.substr(at + 1), text);
        c.points_.push_back({pos, value});
        pinned.push_back(at != std::string_view::npos);
        begin = end + 1;
    }
    std::size_t n = c.points_.size();
    if (n > 1) {
        // Unpinned ends sit at 0 and 1; unpinned inner points share the gap between pinned ones.
        if (!pinned.front()) c.points_.front().pos = 0.0;
        if (!pinned.back()) c.points_.back().pos = 1.0;
        pinned.front() = pinned.back() = true;
        std::size_t last = 0;
        for (std::size_t i = 1; i < n; ++i) {
            if (!pinned[i]) continue;
            for (std::size_t j = last + 1; j < i; ++j)
                c.points_[j].pos = c.points_[last].pos + (c.points_[i].pos - c.points_[last].pos) *
                                                             double(j - last) / double(i - last);
            last = i;
        }
        for (std::size_t i = 1; i < n; ++i)
            if (c.points_[i].pos < c.points_[i - 1].pos || c.points_[i].pos > 1.0)
                throw std::runtime_error("points out of order in '" + std::string(text) + "'");
    }
    return c;
}

double Curve::at(double f) const {
    if (points_.size() == 1 || f <= points_.front().pos) return points_.front().value;
    for (std::size_t i = 1; i < points_.size(); ++i) {
        const Point &a = points_[i - 1];
        const Point &b = points_[i];
        if (f <= b.pos) {
            double span = b.pos - a.pos;
            double k = span > 0.0 ? (f - a.pos) / span : 1.0;
            return a.value * std::pow(b.value / a.value, k);
        }
    }
    return points_.back().value;
}

} // namespace sonido
