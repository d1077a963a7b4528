// loudness.cpp: RMS envelopes in dB, Pearson correlation, gain-corrected
// window differences and per-stretch alignment by cross-correlation.
#include "tests/music/loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

constexpr double kHopMs = 5.0;
constexpr int kWinHops = 4;             // 20 ms windows
constexpr double kSegmentS = 2.0;
constexpr double kMaxLagMs = 500.0;
constexpr double kAbsFloorDb = -80.0;
constexpr double kRate = 48000.0;
constexpr double kTailS = 0.1;          // the reference renders 0.1 s past the song

using Series = std::vector<double>;

Series Slice(const Series& v, size_t from, size_t count) {
    from = std::min(from, v.size());
    return Series(v.begin() + long(from), v.begin() + long(std::min(v.size(), from + count)));
}

double Mean(const Series& v) {
    double s = 0.0;
    for (double x : v) s += x;
    return v.empty() ? 0.0 : s / double(v.size());
}

double PopulationStdDev(const Series& v) {
    const double m = Mean(v);
    double s = 0.0;
    for (double x : v) s += (x - m) * (x - m);
    return v.empty() ? 0.0 : std::sqrt(s / double(v.size()));
}

double Median(Series v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// n consecutive hops into one window (energy mean).
Series Group(const Series& env, int n) {
    Series out;
    for (size_t i = 0; i + size_t(n) <= env.size(); i += size_t(n)) {
        double s = 0.0;
        for (int k = 0; k < n; ++k) s += env[i + size_t(k)] * env[i + size_t(k)];
        out.push_back(std::sqrt(s / n));
    }
    return out;
}

// dBFS, floored 60 dB below the loudest value (and never below -80 dB).
Series ToDb(const Series& env) {
    const double peak = env.empty() ? 0.0 : *std::max_element(env.begin(), env.end());
    double floor = kAbsFloorDb;
    if (peak > 0) floor = std::max(floor, 20.0 * std::log10(peak / 32768.0) - 60.0);
    Series out;
    for (double v : env) out.push_back(v > 0 ? std::max(floor, 20.0 * std::log10(v / 32768.0)) : floor);
    return out;
}

double Pearson(const Series& xs, const Series& ys) {
    const size_t n = std::min(xs.size(), ys.size());
    if (n < 2) return std::numeric_limits<double>::quiet_NaN();
    double mx = 0, my = 0;
    for (size_t i = 0; i < n; ++i) {
        mx += xs[i];
        my += ys[i];
    }
    mx /= double(n);
    my /= double(n);
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < n; ++i) {
        const double a = xs[i] - mx, b = ys[i] - my;
        sxy += a * b;
        sxx += a * a;
        syy += b * b;
    }
    if (sxx == 0 || syy == 0) return sxx == syy ? 1.0 : 0.0;
    return sxy / std::sqrt(sxx * syy);
}

struct Lag {
    double corr;
    int lag;
};

// The best correlation of a[start..start+n) against b shifted by each lag;
// among lags within 0.01 of the best, the smallest shift wins.
Lag BestLag(const Series& a, const Series& b, int start, int n, int lo, int hi) {
    const Series seg = Slice(a, size_t(start), size_t(n));
    std::vector<Lag> cand;
    for (int d = lo; d <= hi; ++d) {
        const int s = start + d;
        if (s < 0 || s + n > int(b.size())) continue;
        cand.push_back({Pearson(seg, Slice(b, size_t(s), size_t(n))), d});
    }
    if (cand.empty()) return {-2.0, 0};
    double top = -std::numeric_limits<double>::infinity();
    for (const Lag& c : cand) top = std::max(top, c.corr);
    Lag best{0, 0};
    bool found = false;
    for (const Lag& c : cand) {
        if (!(c.corr >= top - 0.01)) continue;
        if (!found || std::abs(c.lag) < std::abs(best.lag) ||
            (std::abs(c.lag) == std::abs(best.lag) && c.corr > best.corr)) {
            best = c;
            found = true;
        }
    }
    return best;
}

Series Mono(const LoudnessEnvelope& e) {
    Series out;
    const size_t n = std::min(e.left.size(), e.right.size());
    for (size_t i = 0; i < n; ++i) out.push_back(std::sqrt((e.left[i] * e.left[i] + e.right[i] * e.right[i]) / 2));
    return out;
}

}  // namespace

LoudnessEnvelope Loudness_Measure(const std::vector<int16_t>& stereo, int hop) {
    LoudnessEnvelope env;
    const size_t n = size_t(hop);
    const size_t hops = stereo.size() / 2 / n;
    for (size_t h = 0; h < hops; ++h) {
        double l = 0, r = 0;
        for (size_t f = h * n; f < (h + 1) * n; ++f) {
            l += double(stereo[2 * f]) * stereo[2 * f];
            r += double(stereo[2 * f + 1]) * stereo[2 * f + 1];
        }
        env.left.push_back(std::floor(std::sqrt(l / hop)));
        env.right.push_back(std::floor(std::sqrt(r / hop)));
    }
    return env;
}

bool Loudness_ReadReference(const std::string& path, int64_t& frames, LoudnessEnvelope& env) {
    std::ifstream in(path);
    if (!in) return false;
    frames = -1;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "frames") {
            words >> frames;
            continue;
        }
        double r = 0;
        words >> r;
        env.left.push_back(std::stod(first));
        env.right.push_back(r);
    }
    return frames >= 0;
}

LoudnessComparison Loudness_Compare(const LoudnessEnvelope& ref, const LoudnessEnvelope& ours) {
    LoudnessComparison res;
    const Series wa[2] = {ToDb(Group(ref.left, kWinHops)), ToDb(Group(ref.right, kWinHops))};
    const Series wb[2] = {ToDb(Group(ours.left, kWinHops)), ToDb(Group(ours.right, kWinHops))};
    const size_t n = std::min(wa[0].size(), wb[0].size());
    for (int ch = 0; ch < 2; ++ch) {
        const Series a = Slice(wa[ch], 0, n), b = Slice(wb[ch], 0, n);
        double corr;
        if (n >= 2 && PopulationStdDev(a) < 1.0 && PopulationStdDev(b) < 1.0) {
            // Both flat (a steady tone or silence): compare levels instead.
            corr = std::abs(Mean(a) - Mean(b)) < 6.0 ? 1.0 : 0.0;
        } else {
            corr = Pearson(a, b);
        }
        (ch == 0 ? res.corr_left : res.corr_right) = corr;
    }

    Series diffs;
    for (int ch = 0; ch < 2; ++ch) {
        const double fa = *std::min_element(wa[ch].begin(), wa[ch].end());
        const double fb = *std::min_element(wb[ch].begin(), wb[ch].end());
        for (size_t i = 0; i < n; ++i)
            if (wa[ch][i] > fa + 20 && wb[ch][i] > fb + 20) diffs.push_back(wb[ch][i] - wa[ch][i]);
    }
    res.gain_offset_db = diffs.empty() ? 0.0 : Median(diffs);
    int bad = 0, total = 0;
    for (int ch = 0; ch < 2; ++ch) {
        const double fa = *std::min_element(wa[ch].begin(), wa[ch].end());
        const double fb = *std::min_element(wb[ch].begin(), wb[ch].end());
        for (size_t i = 0; i < n; ++i) {
            if (wa[ch][i] <= fa + 1 && wb[ch][i] <= fb + 1) continue;   // both silent
            ++total;
            if (std::abs(wb[ch][i] - res.gain_offset_db - wa[ch][i]) > 6.0) ++bad;
        }
    }
    res.off6 = total ? double(bad) / total : 0.0;

    // Alignment of the mono envelopes, 2 s stretch by stretch.
    const Series mono_a = Mono(ref), mono_b = Mono(ours);
    const Series fine_a = ToDb(mono_a), fine_b = ToDb(mono_b);
    const Series coarse_a = ToDb(Group(mono_a, kWinHops)), coarse_b = ToDb(Group(mono_b, kWinHops));
    int seg_c = int(std::lround(kSegmentS * 1000 / (kHopMs * kWinHops)));
    int max_c = int(std::lround(kMaxLagMs / (kHopMs * kWinHops)));
    const int n_c = int(std::min(coarse_a.size(), coarse_b.size()));
    std::vector<int> starts;
    if (n_c >= seg_c + 2 * max_c) {
        for (int k = 0; k <= n_c - seg_c; k += seg_c) starts.push_back(k);
    } else {
        // A short file: one stretch, the search limited to a quarter of it.
        max_c = std::min(max_c, n_c / 4);
        seg_c = n_c - 2 * max_c;
        if (seg_c >= 10) starts.push_back(max_c);
    }
    const Series cb = Slice(coarse_b, 0, size_t(n_c));
    const Series fb = Slice(fine_b, 0, size_t(n_c) * kWinHops);
    for (int k : starts) {
        if (PopulationStdDev(Slice(coarse_a, size_t(k), size_t(seg_c))) < 1.0) continue;   // flat: no lag
        const Lag coarse = BestLag(coarse_a, cb, k, seg_c, -max_c, max_c);
        if (coarse.corr < 0.5) continue;
        const Lag fine = BestLag(fine_a, fb, k * kWinHops, seg_c * kWinHops, coarse.lag * kWinHops - kWinHops,
                                 coarse.lag * kWinHops + kWinHops);
        const double lag_ms = fine.corr > -2 ? fine.lag * kHopMs : coarse.lag * kHopMs * kWinHops;
        if (!res.has_lag || std::abs(lag_ms) > std::abs(res.max_lag_ms)) {
            res.has_lag = true;
            res.max_lag_ms = lag_ms;
            res.max_lag_at_s = k * kHopMs * kWinHops / 1000.0;
        }
    }
    return res;
}

std::vector<std::string> Loudness_Check(const std::string& name, int64_t ref_frames, const LoudnessEnvelope& ref,
                                        int64_t our_frames, const LoudnessEnvelope& ours, std::string& summary) {
    const bool song = name.rfind("song_", 0) == 0;
    const double min_corr = song ? 0.95 : 0.90;
    const double max_lag = 20.0;
    const double max_off6 = song ? 0.05 : 0.15;
    const LoudnessComparison res = Loudness_Compare(ref, ours);
    const double ref_s = double(ref_frames) / kRate - kTailS;
    const double ours_s = double(our_frames) / kRate;

    char line[256];
    std::snprintf(line, sizeof line,
                  "%s: length ref %.2f s ours %.2f s, corr L %.4f R %.4f, max lag %s ms, off6 %.1f%%, gain %+.1f dB",
                  name.c_str(), ref_s, ours_s, res.corr_left, res.corr_right,
                  res.has_lag ? std::to_string(int(std::lround(res.max_lag_ms))).c_str() : "-", 100 * res.off6,
                  res.gain_offset_db);
    summary = line;

    std::vector<std::string> failed;
    if (ours_s < ref_s - 0.15) failed.push_back("ends " + std::to_string(ref_s - ours_s) + " s before the reference");
    if (!(res.corr_left >= min_corr)) failed.push_back("left correlation " + std::to_string(res.corr_left));
    if (!(res.corr_right >= min_corr)) failed.push_back("right correlation " + std::to_string(res.corr_right));
    if (res.has_lag && std::abs(res.max_lag_ms) > max_lag)
        failed.push_back("timing drifts " + std::to_string(res.max_lag_ms) + " ms at " + std::to_string(res.max_lag_at_s) +
                         " s");
    if (res.off6 > max_off6) failed.push_back(std::to_string(100 * res.off6) + "% of 20 ms windows off by more than 6 dB");
    return failed;
}
