// Decodes MPEG Layer III frames to 16-bit PCM with the system's ACM codec.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <vector>

#include "audio/Mp3FrameDecoder.h"
#include "audio/Mp3FrameHeader.h"

class AcmMp3Decoder : public Mp3FrameDecoder {
public:
    AcmMp3Decoder() = default;
    ~AcmMp3Decoder() override;
    AcmMp3Decoder(const AcmMp3Decoder&) = delete;
    AcmMp3Decoder& operator=(const AcmMp3Decoder&) = delete;

    // Opens a conversion for frames like the given one; false when the codec
    // refuses it.
    bool Open(const Mp3FrameHeader& header);
    // The PCM format the frames decode to.
    const WAVEFORMATEX& PcmFormat() const { return m_pcmFormat; }

    bool Decode(const uint8_t* pData, size_t nLength, size_t* pUsed,
                std::vector<int16_t>& pcm) override;
    void Flush(std::vector<int16_t>& pcm) override;
    void Reset() override;
    // Gives the codec's buffers back and frees them; false when the codec
    // refused to (they are then leaked).
    bool Close();

private:
    bool Convert(size_t nLength, DWORD fdwFlags, size_t* pUsed, std::vector<int16_t>& pcm);

    HACMSTREAM m_hStream = nullptr;
    ACMSTREAMHEADER m_header{};
    bool m_bPrepared = false;
    bool m_bStarted = false;
    WAVEFORMATEX m_pcmFormat{};
    std::vector<uint8_t> m_src;
    std::vector<uint8_t> m_dst;
};
