// How far a captured or decoded tone is from one unbroken sine: a sine obeys
// s[n+1] + s[n-1] = 2 cos(w) s[n], and what is left over at a break is about
// peak * w * (the jump in samples). A seamless loop of a whole number of
// periods keeps it well under one sample; a cut or kept padding does not.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

// The largest break, in samples, of a hz sine over s[nFirst..nLast] less
// nEdge samples at each end; 0 when there is no signal.
inline double SineBreakSamples(const double* s, size_t nFirst, size_t nLast, size_t nEdge,
                               double dHz, double dRate) {
    const double w = 2 * 3.14159265358979323846 * dHz / dRate;
    double dBreak = 0, dPeak = 0;
    for (size_t i = nFirst; i <= nLast && nLast > nFirst; ++i) dPeak = std::max(dPeak, std::fabs(s[i]));
    for (size_t i = nFirst + nEdge; dHz > 0 && i + nEdge < nLast; ++i)
        dBreak = std::max(dBreak, std::fabs(s[i + 1] + s[i - 1] - 2 * std::cos(w) * s[i]));
    return dPeak > 0 && w > 0 ? dBreak / (dPeak * w) : 0;
}
