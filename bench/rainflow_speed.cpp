// Measures the rainflow counter's cost per sample on Gaussian noise fed in
// blocks as the record's pass would feed it: best of RUNS passes, nanoseconds
// per sample of processor time (the machine may be shared) and of wall time,
// with the counted cycles queued and drained or only summed.
//
// usage: rainflow_speed [SAMPLES [RUNS [EXPONENT]]]   (10^7 samples, 5 runs, b = 6 by default)
#include "readings/rainflow_count.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// The outcome of one pass.
struct pass {
    double seconds;         // processor time of the pass
    double wall;            // wall time of the pass
    std::uint64_t cycles;   // cycles counted
    std::size_t residue;    // the longest residue seen between blocks
    double drained;         // sum of the drained counts, so the queue is read
};

// One pass over the noise in blocks of 65,536 samples.
pass count_once(const std::vector<float>& noise, double exponent, bool keep)
{
    const std::size_t block = 65536;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t processor = std::clock();
    rainflow_state s = start_rainflow({exponent, 1.}, keep);
    pass out{0., 0., 0, 0, 0.};
    for (std::size_t i = 0; i < noise.size(); i += block) {
        feed_rainflow(s, noise.data() + i, std::min(block, noise.size() - i));
        for (const rainflow_cycle& c : s.counted) out.drained += c.count;
        s.counted.clear();
        out.residue = std::max(out.residue, s.residue.size() - s.first);
    }
    finish_rainflow(s);
    out.seconds = static_cast<double>(std::clock() - processor) / CLOCKS_PER_SEC;
    out.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out.cycles = s.cycles;
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const long samples = argc > 1 ? std::atol(argv[1]) : 10000000L;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const double exponent = argc > 3 ? std::atof(argv[3]) : 6.;
    std::mt19937_64 random(1);
    std::normal_distribution<float> normal(0.F, 1.F);
    std::vector<float> noise(static_cast<std::size_t>(samples));
    for (float& x : noise) x = normal(random);
    for (const bool keep : {false, true}) {
        pass best{1e300, 0., 0, 0, 0.};
        for (int run = 0; run < runs; ++run) {
            const pass p = count_once(noise, exponent, keep);
            if (p.seconds < best.seconds) best = p;
        }
        std::printf("%s: %ld samples, %.2f ns/sample of processor time (%.2f of wall time), "
                    "%llu cycles, residue at most %zu\n",
                    keep ? "cycles queued" : "damage only", samples,
                    best.seconds / static_cast<double>(samples) * 1e9,
                    best.wall / static_cast<double>(samples) * 1e9,
                    static_cast<unsigned long long>(best.cycles), best.residue);
    }
}
