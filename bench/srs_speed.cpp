// Feeds a generated shock record (a decaying 700 Hz burst on a half-sine, plus
// noise) of N samples at 40 kHz through the shock response spectrum at the 120
// natural frequencies of 1/12 octave from 10 Hz to 10 kHz, Q 10, in blocks of
// 8192, on THREADS threads (1 or 2: the bank's helper thread takes the
// oscillators above the point where the work halves); prints the processor
// seconds (all threads) and the elapsed seconds of the spectrum alone, and its
// largest maximax.
// With RECORD, also writes the record as raw floats for the peer.
//
// usage: srs_speed N THREADS [RECORD]
#include "readings/oscillators.h"
#include "readings/shock_spectrum.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <ctime>
#include <vector>

// The record, made block by block so that it never lies in memory whole: a
// shock in its first tenth of a second, noise throughout.
struct generator {
    std::mt19937 gen{7};                               // the noise's source
    std::normal_distribution<double> noise{0., 0.5};   // its spread, G
    double sr;                                         // sample rate, Hz
    std::size_t at = 0;                                // samples made so far
};

// The next n samples into x.
void generate(generator& g, float* x, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k, ++g.at) {
        const double t = static_cast<double>(g.at) / g.sr;
        const double pulse = t < 0.011 ? 100. * std::sin(3.14159265358979 * t / 0.011) : 0.;
        const double burst = t > 0.02 ? 50. * std::exp(-(t - 0.02) * 40.) * std::sin(4398.2 * t) : 0.;
        x[k] = static_cast<float>(pulse + burst + g.noise(g.gen));
    }
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s N THREADS [RECORD]\n", argv[0]);
        return 2;
    }
    const std::size_t n = std::strtoul(argv[1], nullptr, 10), block = 8192;
    const int threads = std::atoi(argv[2]);
    const double sr = 40000.;
    std::FILE* record = argc > 3 ? std::fopen(argv[3], "wb") : nullptr;
    if (argc > 3 && record == nullptr) return 1;
    const std::vector<double> fn = natural_frequencies({10., 12, 10., 10000.});
    generator g;
    g.sr = sr;
    std::vector<float> x(block);
    double cpu = 0., elapsed = 0.; // the spectrum's own seconds, the making of the record left out
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpu_start = std::clock();
    srs_bank bank = start_srs(fn, 10., sr, 9.81, threads);
    for (std::size_t at = 0; at < n; at += block) {
        const std::size_t m = std::min(block, n - at);
        cpu += static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
        elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        generate(g, x.data(), m);
        if (record != nullptr && std::fwrite(x.data(), sizeof(float), m, record) != m) return 1;
        start = std::chrono::steady_clock::now(), cpu_start = std::clock();
        feed_srs(bank, x.data(), m);
    }
    const srs_result r = finish_srs(bank);
    cpu += static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (record != nullptr) std::fclose(record);
    double top = 0.;
    for (const srs_row& row : r.rows) top = std::max(top, row.maximax);
    std::printf("%zu oscillators, upsampling %d, largest maximax %.4f: cpu %.3f s, elapsed %.3f s\n",
                r.rows.size(), r.upsampling, top, cpu, elapsed);
}
