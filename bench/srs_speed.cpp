// Feeds a generated shock record (a decaying 700 Hz burst on a half-sine, plus
// noise) of N samples at 40 kHz through the shock response spectrum at the 120
// natural frequencies of 1/12 octave from 10 Hz to 10 kHz, Q 10, in blocks of
// 8192, on THREADS threads (1 or 2: the oscillators split where the work
// halves); prints the seconds of the spectrum alone and its largest maximax.
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
#include <thread>
#include <vector>

// The record: a shock in its first tenth, noise throughout.
std::vector<float> generated(std::size_t n, double sr)
{
    std::vector<float> x(n);
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0., 0.5);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sr;
        const double pulse = t < 0.011 ? 100. * std::sin(3.14159265358979 * t / 0.011) : 0.;
        const double burst = t > 0.02 ? 50. * std::exp(-(t - 0.02) * 40.) * std::sin(4398.2 * t) : 0.;
        x[i] = static_cast<float>(pulse + burst + noise(gen));
    }
    return x;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s N THREADS [RECORD]\n", argv[0]);
        return 2;
    }
    const std::size_t n = std::strtoul(argv[1], nullptr, 10);
    const int threads = std::atoi(argv[2]);
    const double sr = 40000.;
    const std::vector<float> x = generated(n, sr);
    if (argc > 3) {
        std::FILE* f = std::fopen(argv[3], "wb");
        if (f == nullptr || std::fwrite(x.data(), sizeof(float), n, f) != n) return 1;
        std::fclose(f);
    }
    const std::vector<double> fn = natural_frequencies({10., 12, 10., 10000.});
    const auto start = std::chrono::steady_clock::now();
    srs_bank bank = start_srs(fn, 10., sr, 9.81);
    const std::size_t half = srs_split(bank), block = 8192;
    for (std::size_t at = 0; at < n; at += block) {
        take_srs_block(bank, x.data() + at, std::min(block, n - at));
        if (threads < 2) {
            run_srs_oscillators(bank, 0, fn.size());
            continue;
        }
        std::thread upper([&bank, half, &fn] { run_srs_oscillators(bank, half, fn.size()); });
        run_srs_oscillators(bank, 0, half);
        upper.join();
    }
    const srs_result r = finish_srs(bank);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    double top = 0.;
    for (const srs_row& row : r.rows) top = std::max(top, row.maximax);
    std::printf("%zu oscillators, upsampling %d, largest maximax %.4f: %.3f s\n", r.rows.size(),
                r.upsampling, top, took.count());
}
