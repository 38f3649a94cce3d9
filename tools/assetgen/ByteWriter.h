// Little-endian byte output for the asset files, the same on every host.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ByteWriter {
public:
    void U8(unsigned v) { m_Bytes.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v & 0xff);
        U8((v >> 8) & 0xff);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xffff);
        U16(v >> 16);
    }
    void I16(int v) { U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    // A NUL-padded name of exactly nSize bytes.
    void Name(const std::string& text, std::size_t nSize) {
        for (std::size_t i = 0; i < nSize; ++i) U8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    }
    std::size_t Size() const { return m_Bytes.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }

private:
    std::vector<std::uint8_t> m_Bytes;
};
