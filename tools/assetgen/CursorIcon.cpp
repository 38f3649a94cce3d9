#include "CursorIcon.h"

#include <cmath>

#include "ByteWriter.h"

namespace {

const int kSide = 32;

void BitmapInfoHeader(ByteWriter& out, int bitCount, std::uint32_t imageSize, int colorsUsed) {
    out.U32(40);
    out.I32(kSide);
    out.I32(kSide * 2);  // colour image and mask stacked
    out.U16(1);
    out.U16(bitCount);
    out.U32(0);
    out.U32(imageSize);
    out.I32(0);
    out.I32(0);
    out.U32(colorsUsed);
    out.U32(0);
}

// The standard 16-colour palette, as RGB.
const std::uint8_t kPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
const int kTransparent = -1;

// Palette index of the vane at (x, y), y from the top; kTransparent outside it.
int VanePixel(int x, int y) {
    double cx = x + 0.5, cy = y + 0.5;
    double dx = cx - 16, dy = cy - 5.5;
    if (dx * dx + dy * dy <= 6.5) return (dx + dy < -1) ? 15 : 11;       // gilded ball finial
    if (y >= 12 && y <= 13) {                                            // arrow shaft
        if (x >= 5 && x <= 24) return y == 12 ? 15 : 7;
    }
    if (x >= 23 && x <= 29 && std::fabs(cy - 13) <= (29.5 - cx) * 0.75) return cy < 13 ? 11 : 3;  // head
    if (x >= 2 && x <= 7 && std::fabs(cy - 13) <= 1.5 + (7.5 - cx) * 0.6) return 12;               // tail fin
    if (x >= 15 && x <= 16 && y >= 8 && y <= 25) return x == 15 ? 15 : 8;   // post
    if (y >= 19 && y <= 20 && std::abs(x - 15.5) <= 5) return 8;            // compass arms
    if (y >= 26 && y <= 28 && std::abs(x - 15.5) <= 2 + (y - 26) * 2) return y == 26 ? 7 : 8;  // foot
    if (y == 19 && (x == 9 || x == 22)) return 9;                           // N and S tips
    return kTransparent;
}

// Rows bottom-up, each padded to 4 bytes: set bits where the screen shows through.
void AndMask(ByteWriter& out) {
    for (int y = kSide - 1; y >= 0; --y)
        for (int byte = 0; byte < kSide / 8; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (VanePixel(byte * 8 + bit, y) == kTransparent) bits |= 0x80u >> bit;
            out.U8(bits);
        }
}

void Image16(ByteWriter& out) {
    BitmapInfoHeader(out, 4, kSide * kSide / 2 + kSide * kSide / 8, 16);
    for (const auto& c : kPalette) {
        out.U8(c[2]);
        out.U8(c[1]);
        out.U8(c[0]);
        out.U8(0);
    }
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; x += 2) {
            int a = VanePixel(x, y), b = VanePixel(x + 1, y);
            out.U8(((a < 0 ? 0 : a) << 4) | (b < 0 ? 0 : b));
        }
    AndMask(out);
}

void ImageTrue(ByteWriter& out) {
    BitmapInfoHeader(out, 32, kSide * kSide * 4 + kSide * kSide / 8, 0);
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x) {
            int index = VanePixel(x, y);
            if (index < 0) {
                out.U32(0);
                continue;
            }
            // a vertical sheen over the palette colour, as on polished metal
            double shade = 0.8 + 0.35 * std::cos((y - 6) * 0.2);
            for (int channel = 2; channel >= 0; --channel) {
                double value = kPalette[index][channel] * shade;
                out.U8(static_cast<unsigned>(value > 255 ? 255 : value));
            }
            out.U8(255);
        }
    AndMask(out);
}

}  // namespace

std::vector<std::uint8_t> WriteBlankCursor() {
    ByteWriter out;
    out.U16(0);
    out.U16(2);  // cursor
    out.U16(1);
    out.U8(kSide);
    out.U8(kSide);
    out.U8(0);
    out.U8(0);
    out.U16(0);  // hot spot x
    out.U16(0);  // hot spot y
    const std::uint32_t nImage = 40 + 8 + kSide * kSide / 8 * 2;
    out.U32(nImage);
    out.U32(22);
    BitmapInfoHeader(out, 1, kSide * kSide / 8 * 2, 2);
    out.U32(0x00000000);
    out.U32(0x00ffffff);
    for (int i = 0; i < kSide * kSide / 8; ++i) out.U8(0x00);  // XOR
    for (int i = 0; i < kSide * kSide / 8; ++i) out.U8(0xff);  // AND
    return out.Bytes();
}

std::vector<std::uint8_t> WriteVaneIcon() {
    ByteWriter image16, imageTrue;
    Image16(image16);
    ImageTrue(imageTrue);
    ByteWriter out;
    out.U16(0);
    out.U16(1);  // icon
    out.U16(2);
    const std::uint32_t nFirst = 6 + 2 * 16;
    struct Entry {
        const ByteWriter* image;
        int colors, bits;
    } entries[] = {{&image16, 16, 4}, {&imageTrue, 0, 32}};
    std::uint32_t nOffset = nFirst;
    for (const Entry& entry : entries) {
        out.U8(kSide);
        out.U8(kSide);
        out.U8(entry.colors);
        out.U8(0);
        out.U16(1);
        out.U16(entry.bits);
        out.U32(static_cast<std::uint32_t>(entry.image->Size()));
        out.U32(nOffset);
        nOffset += static_cast<std::uint32_t>(entry.image->Size());
    }
    for (const Entry& entry : entries)
        for (std::uint8_t b : entry.image->Bytes()) out.U8(b);
    return out.Bytes();
}
