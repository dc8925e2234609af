// Reads a record through the program's record calls as the survey does, and
// prints the reader's speed: best of RUNS passes, MB/s of input text and
// pairs per second.
//
// usage: reader_speed RECORD RUNS [COLUMN [RATE [CHANNELS]]]
//   COLUMN 0 (the default) reads the plain pairs with the record scanner;
//   a column from 1 on reads with the column reader (RATE for no time column,
//   CHANNELS for that many amplitude columns at once).
#include "input/record_format.h"
#include "core/analysis_state.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RECORD RUNS [COLUMN [RATE [CHANNELS]]]\n", argv[0]);
        return 2;
    }
    st.fp[1] = std::fopen(argv[1], "r");
    if (st.fp[1] == nullptr) return 1;
    const int runs = std::atoi(argv[2]);
    st.column = argc > 3 ? std::atoi(argv[3]) : 0;
    st.rate = argc > 4 ? std::atof(argv[4]) : 0.;
    st.channels = argc > 5 ? std::atoi(argv[5]) : 0;
    std::fseek(st.fp[1], 0, SEEK_END);
    const double bytes = static_cast<double>(std::ftell(st.fp[1]));
    double best = 1e300;
    long pairs = 0;
    for (int run = 0; run < runs; ++run) {
        rewind_record();
        const auto start = std::chrono::steady_clock::now();
        double t = 0.;
        double a = 0.;
        for (pairs = 0; scan_survey_pair(&t, &a) == 2;) ++pairs;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    std::printf("%ld pairs in %.3f s: %.1f MB/s, %.1f million pairs/s\n", pairs, best,
                bytes / 1e6 / best, pairs / 1e6 / best);
}
