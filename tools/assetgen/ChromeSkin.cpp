#include "ChromeSkin.h"

#include <algorithm>
#include <cmath>

#include "ByteWriter.h"

namespace {

const double kPi = 3.14159265358979323846;
const int kSide = 64;
const int kSamples = 4;  // per pixel side, for smooth edges

struct Rgb {
    double r, g, b;
};

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    t = std::max(0.0, std::min(1.0, t));
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Distance between two positions on a circle of circumference 1.
double WrapDistance(double a, double b) {
    double d = std::fabs(a - b);
    d -= std::floor(d);
    return std::min(d, 1.0 - d);
}

// u runs across the width (1 = a full turn of the angle from straight up),
// v down the height (1 = a full turn around the vertical).
Rgb Environment(double u, double v) {
    double up = std::cos(2 * kPi * u);
    double hills = 0.10 + 0.07 * std::sin(2 * kPi * 2 * v) + 0.04 * std::sin(2 * kPi * 5 * v + 1.3);
    double elevation = up - 0.5 * hills;
    Rgb color;
    if (elevation > 0) {
        Rgb horizon{215, 232, 255}, zenith{28, 70, 168};
        color = Mix(horizon, zenith, std::pow(elevation / (1.0 - 0.5 * hills), 0.55));
        // a soft band of cloud and the sun, twice around the sky
        double cloud = std::exp(-std::pow((elevation - 0.45) / 0.08, 2)) * (0.5 + 0.5 * std::sin(2 * kPi * 3 * v));
        color = Mix(color, Rgb{245, 248, 255}, 0.55 * cloud);
        double du = WrapDistance(u, 0.11), dv = WrapDistance(2 * v, 0.3) / 2;
        double sun = std::exp(-(du * du + dv * dv) / (0.035 * 0.035));
        color = Mix(color, Rgb{255, 252, 235}, sun);
        // the bright line just above the horizon that sells the chrome
        color = Mix(color, Rgb{255, 255, 255}, std::exp(-elevation / 0.035));
        // reflected window light: bright streaks three times around
        double streak = std::pow(0.5 + 0.5 * std::cos(2 * kPi * 3 * v), 12);
        color = Mix(color, Rgb{250, 250, 255}, 0.6 * streak);
    } else {
        Rgb near{18, 16, 20}, far{118, 96, 72};
        color = Mix(near, far, std::pow(-elevation / (1.0 + 0.5 * hills), 0.7));
        double furrows = 0.5 + 0.5 * std::sin(2 * kPi * 8 * v + 6 * up);
        color = Mix(color, Rgb{150, 128, 100}, 0.18 * furrows * std::min(1.0, -elevation * 3));
    }
    return color;
}

// Bytes that a text-mode read would change on some C runtimes (CR, end of
// file) never occur, so the image reads the same whichever mode opens it.
unsigned SafeByte(double value) {
    long byte = std::lround(std::max(0.0, std::min(255.0, value)));
    if (byte == 0x0d || byte == 0x1a) ++byte;
    return static_cast<unsigned>(byte);
}

}  // namespace

std::vector<std::uint8_t> WriteChromeSkin() {
    ByteWriter out;
    for (unsigned b : {0u, 0u, 2u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u}) out.U8(b);
    out.U16(kSide);
    out.U16(kSide);
    out.U8(24);
    out.U8(0x20);  // top-left origin: the first row stored is the top row
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    Rgb c = Environment((x + (sx + 0.5) / kSamples) / kSide, (y + (sy + 0.5) / kSamples) / kSide);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            const double n = kSamples * kSamples;
            out.U8(SafeByte(sum.b / n));
            out.U8(SafeByte(sum.g / n));
            out.U8(SafeByte(sum.r / n));
        }
    return out.Bytes();
}
