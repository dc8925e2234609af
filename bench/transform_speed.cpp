// The transforms alone: hands the half-overlapped segments of a record of
// SAMPLES samples, held in memory, to the program's transform pool as the
// scripted run does (each segment's mean taken by the thread that transforms
// it, Hanning window, acceleration in G to SI, its spectrum's mean square
// taken, its power added in order), with no reading and no survey, and prints
// the best of RUNS passes on one thread and on THREADS threads.
//
// usage: transform_speed SAMPLES M RUNS THREADS
#include "core/analysis_state.h"
#include "platform/console_format.h"
#include "spectrum/transform_pool.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The samples of the record: two tones and a deterministic noise, as floats.
std::vector<float> make_samples(std::size_t n)
{
    std::vector<float> x(n);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = static_cast<double>(i) / 20000.;
        x[i] = static_cast<float>(std::sin(2 * M_PI * 50 * t) + 0.5 * std::sin(2 * M_PI * 120 * t) +
                                  (noise / 4294967296. - 0.5) * 0.1 + 0.5);
    }
    return x;
}

// One pass over every segment on the given threads; its wall time in seconds.
double one_pass(const std::vector<float>& x, int threads)
{
    set_transform_threads(threads);
    transform_pool_start();
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t first = 0; first + st.m <= x.size(); first += st.m / 2) {
        for (std::uint32_t i = 0; i < st.m; ++i) st.seg[i] = {x[first + i], 0.f};
        transform_hand_over(st.psd, -1);
    }
    transform_pool_finish();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// The best of runs passes on the given threads.
double best_pass(const std::vector<float>& x, int runs, int threads)
{
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const double took = one_pass(x, threads);
        if (took < best) best = took;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s SAMPLES M RUNS THREADS\n", argv[0]);
        return 2;
    }
    const std::size_t n = std::strtoull(argv[1], nullptr, 10);
    set_constants();
    st.m = static_cast<std::uint32_t>(std::atoi(argv[2]));
    for (st.nstages = 0; (1u << st.nstages) < st.m; ++st.nstages) {
    }
    const int runs = std::atoi(argv[3]);
    const int threads = std::atoi(argv[4]);
    st.input_type = 1; // acceleration
    st.input_unit = 1; // G
    st.mean_choice = mean_removed;
    st.window_choice = hanning_window;
    set_console_muted(true); // as in a scripted run: the workers take the means
    set_spectrum_taker([](int, const complex_entry*, double) {}); // mean squares taken
    const std::vector<float> x = make_samples(n);
    const double one = best_pass(x, runs, 1);
    const double many = best_pass(x, runs, threads);
    std::printf("%zu samples, m = %u: %.3f s on 1 thread, %.3f s on %d threads\n", n, st.m, one,
                many, threads);
}
