// libFuzzer target: any bytes as an MP3 file, parsed and then played in a loop
// through the PCM source over a stand-in decoder that takes odd amounts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"

struct StandInDecoder : Mp3FrameDecoder {
    explicit StandInDecoder(unsigned nSamples) : m_nSamples(nSamples) {}
    bool Decode(const uint8_t* pData, size_t nLength, size_t* pUsed,
                std::vector<int16_t>& pcm) override {
        *pUsed = std::min<size_t>(nLength, 1 + pData[0] * 4);  // part of a frame, or all
        pcm.insert(pcm.end(), (pData[0] & 1) ? m_nSamples : 0, int16_t(pData[0]));
        return pData[0] != 0xFF;
    }
    void Flush(std::vector<int16_t>&) override {}
    void Reset() override {}
    unsigned Delay() const override { return 529; }
    unsigned m_nSamples;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource bytes(data, size);
    ByteWindow head(bytes);
    Mp3Stream stream;
    if (!stream.Parse(head)) return 0;
    if (stream.nAudioBegin >= stream.nAudioEnd || stream.nAudioEnd > size) __builtin_trap();
    StandInDecoder decoder(stream.firstHeader.nSamplesPerFrame * stream.firstHeader.nChannels);
    Mp3PcmSource source(bytes, stream, decoder);
    source.SetLooping(true);
    std::vector<int16_t> pcm(2 * 4096);
    for (int i = 0; i < 8; ++i) source.Read(pcm.data(), 4096);
    return 0;
}
