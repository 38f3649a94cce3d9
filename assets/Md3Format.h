// The MD3 model file format as the loader reads it: little-endian records laid
// out one after another (header, frames, tags, then each surface with its
// shaders, triangles, texture coordinates and vertices).
#pragma once

#include <cstddef>
#include <cstdint>

#define MD3_IDENT "IDP3"      // first four bytes of the file and of each surface
#define MD3_IDENT_LENGTH 4
#define MD3_MAX_SURFACES 20   // slots in a model; a file with more is refused
// What the arrays of one model may take in all: far above any real model, and
// a damaged count is refused before it turns into a huge allocation.
#define MD3_MAX_MODEL_BYTES (std::size_t{64} << 20)
#define MD3_MAX_QPATH 64
#define MD3_FRAME_NAME_LENGTH 16

struct Md3Header {
    char ident[MD3_IDENT_LENGTH];
    std::int32_t version;
    char name[MD3_MAX_QPATH];
    std::int32_t flags;
    std::int32_t numFrames;
    std::int32_t numTags;      // per frame
    std::int32_t numSurfaces;
    std::int32_t numSkins;
    std::int32_t ofsFrames;
    std::int32_t ofsTags;
    std::int32_t ofsSurfaces;
    std::int32_t ofsEnd;       // length of the file
};

struct Md3Frame {
    float mins[3];
    float maxs[3];
    float localOrigin[3];
    float radius;
    char name[MD3_FRAME_NAME_LENGTH];
};

struct Md3Tag {
    char name[MD3_MAX_QPATH];
    float origin[3];
    float axis[3][3];
};

// Offsets count from the start of the surface.
struct Md3SurfaceHeader {
    char ident[MD3_IDENT_LENGTH];
    char name[MD3_MAX_QPATH];
    std::int32_t flags;
    std::int32_t numFrames;
    std::int32_t numShaders;
    std::int32_t numVerts;     // per frame
    std::int32_t numTriangles;
    std::int32_t ofsTriangles;
    std::int32_t ofsShaders;
    std::int32_t ofsTexCoords;
    std::int32_t ofsVerts;
    std::int32_t ofsEnd;
};

struct Md3Shader {
    char name[MD3_MAX_QPATH];
    std::int32_t shaderIndex;
};

struct Md3Triangle {
    std::int32_t indexes[3];
};

struct Md3TexCoord {
    float st[2];
};

// normal[0] is the packed normal's latitude byte, normal[1] its longitude byte.
struct Md3Vertex {
    std::int16_t xyz[3];
    std::uint8_t normal[2];
};

static_assert(sizeof(Md3Header) == 108, "Md3Header is 108 bytes on disk");
static_assert(sizeof(Md3Frame) == 56, "Md3Frame is 56 bytes on disk");
static_assert(sizeof(Md3Tag) == 112, "Md3Tag is 112 bytes on disk");
static_assert(sizeof(Md3SurfaceHeader) == 108, "Md3SurfaceHeader is 108 bytes on disk");
static_assert(sizeof(Md3Shader) == 68, "Md3Shader is 68 bytes on disk");
static_assert(sizeof(Md3Triangle) == 12, "Md3Triangle is 12 bytes on disk");
static_assert(sizeof(Md3TexCoord) == 8, "Md3TexCoord is 8 bytes on disk");
static_assert(sizeof(Md3Vertex) == 8, "Md3Vertex is 8 bytes on disk");

// Byte offset of Md3Header::ofsEnd, which resource extraction reads directly.
#define MD3_END_OFFSET_POSITION 104
