// Splits the decoded timeline of a looping stream into runs to play and runs
// to drop: each pass of nPass samples keeps only the window
// [nKeepStart, nKeepStart + nKeepLength) (taken modulo the pass, as the window
// may reach into the next pass), and nothing before the first window.
#pragma once

#include <cstddef>
#include <cstdint>

class LoopTrimmer {
public:
    LoopTrimmer(uint64_t nPass, uint64_t nKeepStart, uint64_t nKeepLength);

    // Length (at most nAvailable) of the run starting at the current sample,
    // whether it is kept; advances past it.
    size_t NextRun(size_t nAvailable, bool* pKeep);
    uint64_t Position() const { return m_nPosition; }
    // Moves on over samples the decoder never gave.
    void Skip(uint64_t nSamples) { m_nPosition += nSamples; }
    void Rewind() { m_nPosition = 0; }

private:
    uint64_t m_nPass;
    uint64_t m_nKeepStart;
    uint64_t m_nKeepLength;
    uint64_t m_nPosition = 0;
};
