// A frame read back from OpenGL (RGBA, bottom row first) and what the pixel
// tests look for in it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

struct Box {
    int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;  // inclusive, rows from the bottom
    void Add(int x, int y) { *this = {std::min(left, x), std::min(bottom, y), std::max(right, x), std::max(top, y)}; }
};

// Pixel i is at x = i % nWidth, y = i / nWidth.
struct Picture {
    int nWidth = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* At(int i) const { return &rgba[std::size_t(i) * 4]; }
    int Brightest(int i) const { return *std::max_element(At(i), At(i) + 3); }
    bool Lit(int i) const { return Brightest(i) > 0; }
    template <typename Pred> int Count(Pred pred) const {
        int n = 0;
        for (int i = 0; i < int(rgba.size() / 4); ++i) n += pred(i) ? 1 : 0;
        return n;
    }
    int Differing(const Picture& other) const { return Count([&](int i) { return !std::equal(At(i), At(i) + 3, other.At(i)); }); }
    int BrightestInRow(int y) const {
        int n = 0;
        for (int x = 0; y >= 0 && x < nWidth; ++x) n = std::max(n, Brightest(y * nWidth + x));  // no row: 0
        return n;
    }
    Box LitBox() const {
        Box box;
        Count([&](int i) { return Lit(i) && (box.Add(i % nWidth, i / nWidth), true); });
        return box;
    }
};
