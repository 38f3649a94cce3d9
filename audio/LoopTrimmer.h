// Splits the decoded timeline of a looping stream into runs to play and runs
// to drop: each pass keeps only the window [nKeepStart, nKeepStart + pass -
// nTrimmed) (taken modulo the pass, as the window may reach into the next
// pass), and nothing before the first window. The pass length is learnt when
// the first pass has been walked; until then everything after nKeepStart is
// kept, so it must be known before the first window's end is reached.
#pragma once

#include <cstddef>
#include <cstdint>

class LoopTrimmer {
public:
    LoopTrimmer(uint64_t nKeepStart, uint64_t nTrimmed)
        : m_nKeepStart(nKeepStart), m_nTrimmed(nTrimmed) {}

    // The samples of one pass. A pass no longer than what is trimmed from it
    // keeps everything rather than nothing.
    void SetPass(uint64_t nPass);

    // Length (at most nAvailable) of the run starting at the current sample,
    // whether it is kept; advances past it.
    size_t NextRun(size_t nAvailable, bool* pKeep);
    uint64_t Position() const { return m_nPosition; }
    // Moves on over samples the decoder never gave.
    void Skip(uint64_t nSamples) { m_nPosition += nSamples; }

private:
    uint64_t m_nKeepStart;
    uint64_t m_nTrimmed;
    uint64_t m_nPass = 0;  // 0: not known yet
    uint64_t m_nKeepLength = 0;
    uint64_t m_nPosition = 0;
};
