#include "audio/AcmMp3Decoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "audio/Mp3Format.h"

namespace {
// Room for the PCM of several frames, as the codec may hold some back.
constexpr size_t kDstFrames = 8;
// The codec's customary priming delay in samples.
constexpr WORD kCodecDelay = 1393;
}

AcmMp3Decoder::~AcmMp3Decoder() { Close(); }

bool AcmMp3Decoder::Close() {
    bool bOk = true;
    if (m_bPrepared) {
        // The codec checks that the header still holds the lengths it was
        // prepared with; each conversion changed cbSrcLength.
        m_header.cbSrcLength = DWORD(m_src.size());
        m_header.cbDstLength = DWORD(m_dst.size());
        bOk = acmStreamUnprepareHeader(m_hStream, &m_header, 0) == 0;
    }
    if (m_hStream) bOk = acmStreamClose(m_hStream, 0) == 0 && bOk;
    m_bPrepared = false;
    m_hStream = nullptr;
    // The buffers go now, not with the decoder; a codec that refused to let
    // go may still write into them, so they then stay for good.
    std::vector<uint8_t> src, dst;
    src.swap(m_src);
    dst.swap(m_dst);
    if (!bOk) new std::pair<std::vector<uint8_t>, std::vector<uint8_t>>(std::move(src), std::move(dst));
    return bOk;
}

bool AcmMp3Decoder::Open(const Mp3FrameHeader& h) {
    Close();
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3.wfx.nChannels = WORD(h.nChannels);
    mp3.wfx.nSamplesPerSec = h.nSampleRate;
    mp3.wfx.nAvgBytesPerSec = h.nBitrate / 8;
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.wBitsPerSample = 0;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3.nBlockSize = WORD(h.nFrameLength);
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = kCodecDelay;

    m_pcmFormat = WAVEFORMATEX{};
    m_pcmFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_pcmFormat.nChannels = WORD(h.nChannels);
    m_pcmFormat.nSamplesPerSec = h.nSampleRate;
    m_pcmFormat.wBitsPerSample = 16;
    m_pcmFormat.nBlockAlign = WORD(h.nChannels * 2);
    m_pcmFormat.nAvgBytesPerSec = h.nSampleRate * m_pcmFormat.nBlockAlign;

    if (acmStreamOpen(&m_hStream, nullptr, &mp3.wfx, &m_pcmFormat, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != 0) {
        m_hStream = nullptr;
        return false;
    }
    // Room for a frame and the untaken rest of the one before.
    m_src.assign(2 * mp3::kMaxFrameLength, 0);
    m_dst.assign(kDstFrames * mp3::kMaxSamplesPerFrame * mp3::kMaxChannels * sizeof(int16_t), 0);
    m_header = ACMSTREAMHEADER{};
    m_header.cbStruct = sizeof m_header;
    m_header.pbSrc = m_src.data();
    m_header.cbSrcLength = DWORD(m_src.size());
    m_header.pbDst = m_dst.data();
    m_header.cbDstLength = DWORD(m_dst.size());
    if (acmStreamPrepareHeader(m_hStream, &m_header, 0) != 0) {
        Close();
        return false;
    }
    m_bPrepared = true;
    m_bStarted = false;
    return true;
}

bool AcmMp3Decoder::Convert(size_t nLength, DWORD fdwFlags, size_t* pUsed,
                            std::vector<int16_t>& pcm) {
    if (!m_bPrepared) return false;
    if (!m_bStarted) fdwFlags |= ACM_STREAMCONVERTF_START;
    m_header.cbSrcLength = DWORD(nLength);
    m_header.cbSrcLengthUsed = 0;
    m_header.cbDstLengthUsed = 0;
    if (acmStreamConvert(m_hStream, &m_header, fdwFlags) != 0) return false;
    m_bStarted = true;
    *pUsed = std::min<size_t>(m_header.cbSrcLengthUsed, nLength);
    // Whole sample frames only, and never more than the buffer holds.
    size_t nBytes = std::min<size_t>(m_header.cbDstLengthUsed, m_dst.size());
    nBytes -= nBytes % m_pcmFormat.nBlockAlign;
    const size_t nOld = pcm.size();
    pcm.resize(nOld + nBytes / sizeof(int16_t));
    std::memcpy(pcm.data() + nOld, m_dst.data(), nBytes);
    return true;
}

bool AcmMp3Decoder::Decode(const uint8_t* pData, size_t nLength, size_t* pUsed,
                           std::vector<int16_t>& pcm) {
    // What does not fit is offered again once the codec has taken some.
    nLength = std::min(nLength, m_src.size());
    if (nLength == 0) return false;
    std::memcpy(m_src.data(), pData, nLength);
    return Convert(nLength, ACM_STREAMCONVERTF_BLOCKALIGN, pUsed, pcm);
}

void AcmMp3Decoder::Flush(std::vector<int16_t>& pcm) {
    size_t nUsed = 0;
    Convert(0, ACM_STREAMCONVERTF_END, &nUsed, pcm);
}

void AcmMp3Decoder::Reset() {
    if (m_hStream) acmStreamReset(m_hStream, 0);
    m_bStarted = false;
}
