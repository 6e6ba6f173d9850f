// A value that moves over the life of a sound: "440", "40>130" or "40>130@0.7>95".
// Points are spaced evenly unless "@f" pins one to a fraction f (0..1) of the duration;
// between points the value glides exponentially, which is how pitch and cutoff sweeps sound even.
#pragma once

#include <string_view>
#include <vector>

namespace sonido {

class Curve {
  public:
    Curve() = default;
    explicit Curve(double value) { points_.push_back({0.0, value}); }

    // Throws std::runtime_error on malformed text or a value that is not positive.
    static Curve parse(std::string_view text);

    bool empty() const { return points_.empty(); }
    bool constant() const { return points_.size() == 1; }
    double first() const { return points_.front().value; }
    // Value at fraction f (0..1) of the duration.
    double at(double f) const;

  private:
    struct Point {
        double pos;
        double value;
    };
    std::vector<Point> points_;
};

} // namespace sonido
