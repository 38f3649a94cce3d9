// Measures a raw 16-bit PCM capture (what ALSA's file plugin wrote):
//   ferro_capture_analyze FILE [--rate HZ] [--channels N] [--threshold LEVEL]
//                         [--expect-hz F] [--tolerance-hz T] [--min-seconds S]
//                         [--max-gap-ms G]
// Prints "name value" lines: seconds (total), audible_seconds (first to last
// sample above the threshold), dominant_hz (windowed FFT peak over the audible
// part), longest_gap_ms (longest run below the threshold inside the audible
// part), peak (largest magnitude). With --expect-hz, --min-seconds or
// --max-gap-ms it checks those figures and exits 1 when one fails (printing
// FAIL lines), 0 otherwise; 2 for a bad command line or unreadable file.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string strFile;
    double dRate = 44100;
    int nChannels = 2;
    int nThreshold = 64;
    double dExpectHz = 0;
    double dToleranceHz = 5;
    double dMinSeconds = 0;
    double dMaxGapMs = -1;
};

bool ParseOptions(int argc, char** argv, Options* pOpt) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            pOpt->strFile = arg;
            continue;
        }
        if (i + 1 >= argc) return false;
        const double v = std::atof(argv[++i]);
        if (arg == "--rate") pOpt->dRate = v;
        else if (arg == "--channels") pOpt->nChannels = int(v);
        else if (arg == "--threshold") pOpt->nThreshold = int(v);
        else if (arg == "--expect-hz") pOpt->dExpectHz = v;
        else if (arg == "--tolerance-hz") pOpt->dToleranceHz = v;
        else if (arg == "--min-seconds") pOpt->dMinSeconds = v;
        else if (arg == "--max-gap-ms") pOpt->dMaxGapMs = v;
        else return false;
    }
    return !pOpt->strFile.empty() && pOpt->dRate > 0 && pOpt->nChannels > 0;
}

// First channel of the capture, as floats.
bool ReadMono(const Options& opt, std::vector<float>* pOut) {
    std::ifstream in(opt.strFile, std::ios::binary);
    if (!in) return false;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t nFrameBytes = size_t(opt.nChannels) * 2;
    pOut->resize(bytes.size() / nFrameBytes);
    for (size_t i = 0; i < pOut->size(); ++i) {
        int16_t s;
        std::memcpy(&s, bytes.data() + i * nFrameBytes, 2);
        (*pOut)[i] = s;
    }
    return true;
}

void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2 * M_PI / double(len);
        const std::complex<double> wl(std::cos(ang), std::sin(ang));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k, w *= wl) {
                const auto u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// Peak of the Hann-windowed power spectrum, averaged over windows spread
// across [begin, end), with parabolic interpolation between bins.
double DominantHz(const std::vector<float>& s, size_t nBegin, size_t nEnd, double dRate) {
    const size_t n = 32768;
    if (nEnd < nBegin + n) return 0;
    std::vector<double> power(n / 2, 0.0);
    const size_t nWindows = std::min<size_t>(8, (nEnd - nBegin) / n);
    const size_t nStep = nWindows > 1 ? (nEnd - nBegin - n) / (nWindows - 1) : 0;
    for (size_t w = 0; w < nWindows; ++w) {
        std::vector<std::complex<double>> a(n);
        for (size_t i = 0; i < n; ++i)
            a[i] = s[nBegin + w * nStep + i] * (0.5 - 0.5 * std::cos(2 * M_PI * i / (n - 1)));
        Fft(a);
        for (size_t i = 0; i < n / 2; ++i) power[i] += std::norm(a[i]);
    }
    size_t k = 1;
    for (size_t i = 2; i + 1 < n / 2; ++i)
        if (power[i] > power[k]) k = i;
    const double l = std::log(power[k - 1] + 1e-9), c = std::log(power[k] + 1e-9),
                 r = std::log(power[k + 1] + 1e-9);
    const double d = (l - 2 * c + r) != 0 ? 0.5 * (l - r) / (l - 2 * c + r) : 0;
    return (double(k) + d) * dRate / double(n);
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    std::vector<float> s;
    if (!ParseOptions(argc, argv, &opt) || !ReadMono(opt, &s)) {
        std::fprintf(stderr, "usage: ferro_capture_analyze FILE [--rate HZ] [--channels N] "
                             "[--threshold L] [--expect-hz F] [--tolerance-hz T] "
                             "[--min-seconds S] [--max-gap-ms G]\n");
        return 2;
    }
    const auto loud = [&](size_t i) { return std::fabs(s[i]) > opt.nThreshold; };
    size_t nFirst = 0, nLast = 0;
    bool bAny = false;
    float fPeak = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        fPeak = std::max(fPeak, std::fabs(s[i]));
        if (!loud(i)) continue;
        if (!bAny) nFirst = i;
        nLast = i;
        bAny = true;
    }
    size_t nGap = 0, nRun = 0;
    for (size_t i = nFirst; bAny && i <= nLast; ++i) {
        nRun = loud(i) ? 0 : nRun + 1;
        nGap = std::max(nGap, nRun);
    }
    const double dAudible = bAny ? double(nLast - nFirst + 1) / opt.dRate : 0;
    const double dGapMs = 1000.0 * double(nGap) / opt.dRate;
    const double dHz = bAny ? DominantHz(s, nFirst, nLast + 1, opt.dRate) : 0;
    std::printf("seconds %.3f\naudible_seconds %.3f\ndominant_hz %.2f\nlongest_gap_ms %.2f\n"
                "peak %.0f\n", double(s.size()) / opt.dRate, dAudible, dHz, dGapMs, fPeak);

    bool bOk = true;
    auto check = [&](bool bPass, const char* pszWhat) {
        if (!bPass) std::printf("FAIL %s\n", pszWhat);
        bOk = bOk && bPass;
    };
    if (opt.dExpectHz > 0) check(std::fabs(dHz - opt.dExpectHz) <= opt.dToleranceHz, "dominant_hz");
    if (opt.dMinSeconds > 0) check(dAudible >= opt.dMinSeconds, "audible_seconds");
    if (opt.dMaxGapMs >= 0) check(dGapMs <= opt.dMaxGapMs, "longest_gap_ms");
    return bOk ? 0 : 1;
}
