// Measures a raw 16-bit PCM capture (what ALSA's file plugin wrote):
//   ferro_capture_analyze FILE [--rate HZ] [--channels N] [--expect-hz F]
//                         [--min-seconds S] [--max-gap-ms G] [--max-break B]
// Prints for each channel "channel N", then "name value" lines: seconds
// (total), audible_seconds (first to last sample above a small threshold),
// dominant_hz (from zero crossings),
// longest_gap_ms (longest quiet run inside the audible part), break_samples
// (with --expect-hz: the largest break of a sine of that frequency, as a phase
// jump in samples; a seamless loop of a whole number of periods keeps it well
// under one sample, a cut or kept padding does not). Every channel must pass
// the checks asked for: exit 1 when one fails (printing FAIL lines), 0
// otherwise; 2 for bad usage.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/audio/SineBreak.h"

namespace {
// Prints the measures of one channel's samples; false when a check asked for fails.
bool MeasureAndCheck(const std::vector<double>& s, std::map<std::string, double>& opt) {
    const double dRate = opt["--rate"], dHz = opt["--expect-hz"];
    bool bOk = true;
    const auto loud = [&](size_t i) { return std::fabs(s[i]) > 64; };
    size_t nFirst = s.size(), nLast = 0, nGap = 0, nRun = 0, nCrossings = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (loud(i)) nFirst = std::min(nFirst, i), nLast = i;
    for (size_t i = nFirst; i <= nLast && nLast > nFirst; ++i) {
        nRun = loud(i) ? 0 : nRun + 1;
        nGap = std::max(nGap, nRun);
        if (i > nFirst && (s[i - 1] < 0) != (s[i] < 0)) ++nCrossings;
    }
    const double dAudible = nLast > nFirst ? double(nLast - nFirst + 1) / dRate : 0;
    // The ends are left out.
    const double dBreak = s.empty() ? 0 : SineBreakSamples(s.data(), nFirst, nLast, size_t(0.02 * dRate), dHz, dRate);
    const double dGapMs = 1000.0 * double(nGap) / dRate;
    const double dFound = dAudible > 0 ? nCrossings / 2.0 / dAudible : 0;
    std::printf("seconds %.3f\naudible_seconds %.3f\ndominant_hz %.2f\nlongest_gap_ms %.2f\n"
                "break_samples %.3f\n", double(s.size()) / dRate, dAudible, dFound, dGapMs, dBreak);
    const auto check = [&](bool bPass, const char* pszWhat) {
        if (!bPass) std::printf("FAIL %s\n", pszWhat);
        bOk = bOk && bPass;
    };
    if (dHz > 0) check(std::fabs(dFound - dHz) <= 5, "dominant_hz");
    if (opt["--min-seconds"] > 0) check(dAudible >= opt["--min-seconds"], "audible_seconds");
    if (opt["--max-gap-ms"] >= 0) check(dGapMs <= opt["--max-gap-ms"], "longest_gap_ms");
    if (opt["--max-break"] >= 0) check(dBreak <= opt["--max-break"], "break_samples");
    return bOk;
}
}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, double> opt = {{"--rate", 44100}, {"--channels", 2}, {"--expect-hz", 0},
                                         {"--min-seconds", 0}, {"--max-gap-ms", -1}, {"--max-break", -1}};
    std::string strFile;
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (opt.count(strArg) && i + 1 < argc) opt[strArg] = std::atof(argv[++i]);  // the option's value
        else strFile = strArg;
    }
    std::ifstream in(strFile, std::ios::binary);
    const size_t nChannels = size_t(std::max(1.0, opt["--channels"]));
    if (!in || opt["--rate"] <= 0) {
        std::fprintf(stderr, "usage: ferro_capture_analyze FILE [--rate HZ] [--channels N] ...\n");
        return 2;
    }
    std::vector<int16_t> pcm;
    for (int16_t v; in.read(reinterpret_cast<char*>(&v), 2);) pcm.push_back(v);
    bool bOk = true;
    for (size_t nChannel = 0; nChannel < nChannels; ++nChannel) {
        std::vector<double> s;  // of whole frames only
        for (size_t i = nChannel; i - nChannel + nChannels <= pcm.size(); i += nChannels) s.push_back(pcm[i]);
        std::printf("channel %zu\n", nChannel);
        bOk = MeasureAndCheck(s, opt) && bOk;
    }
    return bOk ? 0 : 1;
}
