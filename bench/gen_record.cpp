// Writes a synthetic acceleration record to standard output: N pairs of time
// (6 decimals, 20 kHz) and amplitude in G (7 significant digits), a few sine
// tones over pseudo-random noise. Given a file name, writes the same amplitudes
// instead as a one-channel 32-bit float WAV at 20000 samples/s (libsndfile).
//
// usage: gen_record PAIRS > record.txt
//        gen_record PAIRS record.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sndfile.h>
#include <vector>

namespace {

// Small deterministic generator (xorshift64*), uniform in [-1, 1).
double noise(std::uint64_t& s)
{
    s ^= s >> 12;
    s ^= s << 25;
    s ^= s >> 27;
    const std::uint64_t r = s * 2685821657736338717ULL;
    return static_cast<double>(r >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s PAIRS [WAV]\n", argv[0]);
        return 2;
    }
    SNDFILE* wav = nullptr;
    if (argc == 3) {
        SF_INFO info{};
        info.samplerate = 20000;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        wav = sf_open(argv[2], SFM_WRITE, &info);
        if (wav == nullptr) return 1;
    }
    std::vector<float> block;
    const long long pairs = std::atoll(argv[1]);
    static char out[1 << 20];
    std::setvbuf(stdout, out, _IOFBF, sizeof out);
    const double rate = 20000.0;
    const double tpi = 2.0 * std::atan2(0.0, -1.0);
    std::uint64_t seed = 0x9E3779B97F4A7C15ULL;
    for (long long i = 0; i < pairs; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double a = 0.8 * std::sin(tpi * 120.0 * t) + 0.3 * std::sin(tpi * 1870.0 * t) +
                         0.5 * noise(seed);
        if (wav == nullptr) {
            std::printf("%.6f %.6e\n", t, a);
            continue;
        }
        block.push_back(static_cast<float>(a));
        if (block.size() == 65536 || i + 1 == pairs) {
            sf_writef_float(wav, block.data(), static_cast<sf_count_t>(block.size()));
            block.clear();
        }
    }
    return wav != nullptr && sf_close(wav) != 0 ? 1 : 0;
}
