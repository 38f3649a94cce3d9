// The subset of the TGA image format that the skin loader accepts: no colour
// map, uncompressed true-colour or grey, 8, 24 or 32 bits per pixel, sides a
// power of two up to 512. Multi-byte fields are little-endian.
#pragma once

#include <cstdint>

// Header fields by byte offset.
#define TGA_OFFSET_ID_LENGTH 0
#define TGA_OFFSET_COLOR_MAP_TYPE 1
#define TGA_OFFSET_IMAGE_TYPE 2
#define TGA_OFFSET_WIDTH 12        // uint16
#define TGA_OFFSET_HEIGHT 14       // uint16
#define TGA_OFFSET_PIXEL_DEPTH 16
#define TGA_OFFSET_DESCRIPTOR 17
#define TGA_HEADER_SIZE 18         // pixel data follows directly

#define TGA_TYPE_TRUE_COLOR 2      // uncompressed
#define TGA_TYPE_GREY 3            // uncompressed
#define TGA_MAX_SIDE 512

// The header as stored; no padding, so it is read with one call.
struct TgaHeader {
    std::uint8_t idLength;
    std::uint8_t colorMapType;
    std::uint8_t imageType;
    std::uint8_t colorMapSpec[5];
    std::uint8_t xOrigin[2];
    std::uint8_t yOrigin[2];
    std::uint8_t width[2];
    std::uint8_t height[2];
    std::uint8_t pixelDepth;
    std::uint8_t descriptor;
};
static_assert(sizeof(TgaHeader) == TGA_HEADER_SIZE, "TgaHeader is 18 bytes on disk");

// Status codes TgaTexture leaves after a failed load.
enum TgaStatus : std::int32_t {
    TGA_STATUS_CANNOT_OPEN = 1000,
    TGA_STATUS_BAD_TYPE = 1001,        // colour map present, or type neither 2 nor 3
    TGA_STATUS_BAD_SIZE = 1002,        // a side not a power of two from 1 to 512
    TGA_STATUS_BAD_DEPTH = 1003,       // not 8, 24 or 32 bits
    TGA_STATUS_NO_PIXELS = 1004,       // no memory, or the file is short (header or pixels)
};
