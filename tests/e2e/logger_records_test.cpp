// Scripted runs over records as data loggers write them: a CSV export of three
// channels read in one call, a record that dropped a block of samples, and
// sound files (float WAV, 16-bit PCM WAV with --scale, 24-bit FLAC) against
// the text records of the same values.
#include "console_text.h"
#include "run_program.h"
#include "spectrum_rows.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using args = std::vector<std::string>;

// Line i of a record at 1024 samples/s: the time and channel k's amplitude (k 1 to 3).
std::string sample(int i, int k)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.5g", k * std::sin(i * 0.05 * k) + 0.01 * k);
    return text;
}

TEST(LoggerRecords, ThreeChannelExportGivesThreeFoldersLikeTwoColumnRuns)
{
    // Two columns of one name: the second's folder is named after its column.
    scratch_dir dir;
    const char* names[] = {"Accel_X", "col3", "Accel_Z"};
    std::string csv = "Time,Accel X,Accel X,Accel Z\n";
    std::string plain[3];
    double sums[3] = {};
    for (int i = 0; i < 3000; ++i) {
        char t[24];
        std::snprintf(t, sizeof t, "%.6f", i / 1024.);
        csv += t;
        for (int k = 1; k <= 3; ++k) {
            csv += "," + sample(i, k);
            plain[k - 1] += t + (" " + sample(i, k)) + "\n";
            sums[k - 1] += std::stod(sample(i, k));
        }
        csv += "\n";
    }
    dir.write("log.csv", csv);
    const args choices = {"-q", "acceleration", "-u", "G", "-m", "256", "-o"};
    args all = choices;
    all.insert(all.end(),
               {"out", "--columns", "all", "--band", "0:1e9", "--summary", "s.json", "log.csv"});
    const program_run run = run_zentri_args(dir, all);
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(run.errors, "zentri: skipped 1 header line: \"Time,Accel X,Accel X,Accel Z\"\n");
    // Each channel has its own readings: its band of everything is its overall rms.
    const nlohmann::json summary = nlohmann::json::parse(dir.read("s.json"));
    for (int k = 0; k < 3; ++k) {
        const nlohmann::json& results = summary[k]["results"];
        EXPECT_EQ(results["bands"][0]["rms"], results["overall_rms"]) << k;
        EXPECT_TRUE(
            holds(run.console, "\ncolumn " + std::to_string(k + 2) + ": band 0 to 1e+009 Hz: "));
    }
    const char* files[] = {"A_G2Hz.psd",   "A_ms22Hz.psd", "A_Grms.mag",
                           "A_ms2rms.mag", "A_Gpk.mag",    "A_ms2_pk.mag"};
    for (int k = 0; k < 3; ++k) {
        // The single pass sums the amplitudes as read into floats.
        EXPECT_NEAR(summary[k]["record"]["mean"].get<double>(), sums[k] / 3000, 1e-7);
        const std::string ref = "ref" + std::to_string(k);
        dir.write(ref + ".txt", plain[k]);
        args one = choices;
        one.insert(one.end(), {ref, ref + ".txt"});
        ASSERT_EQ(run_zentri_args(dir, one).exit_status, 0);
        for (const char* f : files) {
            const std::string got = dir.read(std::string("out/") + names[k] + "/" + f);
            EXPECT_FALSE(got.empty()) << names[k] << "/" << f;
            EXPECT_EQ(got, dir.read(ref + "/" + f)) << names[k] << "/" << f;
        }
    }
}

TEST(LoggerRecords, DroppedBlockIsWarnedOnStandardErrorAndCounted)
{
    scratch_dir dir;
    std::string record;
    for (int i = 0; i < 10240; ++i) {
        if (i >= 4096 && i < 4608) continue; // the block the logger dropped
        char line[48];
        std::snprintf(line, sizeof line, "%.6f %s\n", i / 1024., sample(i, 1).c_str());
        record += line;
    }
    dir.write("rec.txt", record);
    const program_run run =
        run_zentri_args(dir, {"-q", "volts", "-m", "1024", "--summary", "s.json", "rec.txt"});
    ASSERT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.errors,
              "zentri: warning: the time column jumps at line 4097, from 3.999023 to 4.500000 sec"
              " (513 steps of 0.000977 sec); 1 such gap, the largest 513 dt. The spectrum assumes"
              " a constant time step.\n");
    EXPECT_NE(dir.read("s.json").find("\"time_gaps\": 1"), std::string::npos);
}

// Times written to 1 ms at 10240 samples/s step by 0 or 1 ms: no gaps, and df
// from the whole record's step, so a 1000 Hz tone lies on line 25 of df = 40 Hz
// (the first segment's stamps give 10200/256 Hz and would show it at 996 Hz).
TEST(LoggerRecords, CoarseTimeStampsKeepTheFrequencyAxis)
{
    scratch_dir dir;
    std::string record;
    char line[48];
    for (int i = 0; i <= 20480; record += line, ++i)
        std::snprintf(line, sizeof line, "%.3f %.6f\n", i / 10240., std::sin(M_PI * i / 5.12));
    dir.write("rec.txt", record);
    const program_run run =
        run_zentri_args(dir, {"-q", "volts", "-m", "256", "-w", "rect", "rec.txt"});
    EXPECT_EQ(run.errors, "zentri: warning: the times of the first segment give 10200.000 samples/"
                          "sec, those of the whole record 10240.000 samples/sec; df is taken from"
                          " the whole record.\n");
    std::istringstream rows(dir.read("V2_Hz.psd"));
    double f = 0., p = 0., peak_f = 0., peak = 0.;
    while (rows >> f >> p)
        std::tie(peak, peak_f) = p > peak ? std::pair(p, f) : std::pair(peak, peak_f);
    EXPECT_EQ(peak_f, 1000.);
}

// Writes a sound file of frames (channels samples each, interleaved) with
// libsndfile; short and int samples are stored as they are, floats as floats.
template <class T>
void write_sound(const std::string& path, int format, int channels, const std::vector<T>& samples)
{
    SF_INFO info{};
    info.samplerate = 1024;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    sf_count_t written = 0;
    if constexpr (std::is_same_v<T, float>) written = sf_writef_float(file, samples.data(), frames);
    if constexpr (std::is_same_v<T, short>) written = sf_writef_short(file, samples.data(), frames);
    if constexpr (std::is_same_v<T, int>) written = sf_writef_int(file, samples.data(), frames);
    EXPECT_EQ(written, frames);
    sf_close(file);
}

// The amplitude-only text record of float values, as "%.9g" gives them back exactly.
std::string amplitude_text(const std::vector<float>& values)
{
    std::string text;
    for (float v : values) {
        char line[32];
        std::snprintf(line, sizeof line, "%.9g\n", static_cast<double>(v));
        text += line;
    }
    return text;
}

const char* const acceleration_files[] = {"A_G2Hz.psd",   "A_ms22Hz.psd", "A_Grms.mag",
                                          "A_ms2rms.mag", "A_Gpk.mag",    "A_ms2_pk.mag"};

// Checks that folder a and folder b of dir hold the same acceleration files, byte for byte.
void expect_same_files(const scratch_dir& dir, const std::string& a, const std::string& b)
{
    for (const char* f : acceleration_files) {
        const std::string got = dir.read(a + "/" + f);
        EXPECT_FALSE(got.empty()) << a << "/" << f;
        EXPECT_TRUE(got == dir.read(b + "/" + f)) << a << "/" << f << " against " << b;
    }
}

TEST(SoundRecords, ThreeChannelFloatWavGivesTheThreeAmplitudeTextRuns)
{
    scratch_dir dir;
    std::vector<float> frames;
    std::vector<float> channel[3];
    for (int i = 0; i < 3000; ++i)
        for (int k = 0; k < 3; ++k) {
            const float v = static_cast<float>((k + 1) * std::sin(i * 0.05 * (k + 1)) + 0.01 * k);
            frames.push_back(v);
            channel[k].push_back(v);
        }
    write_sound(dir.file("log.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 3, frames);
    const args choices = {"-q", "acceleration", "-u", "G", "-m", "256"};
    args all = choices;
    all.insert(all.end(), {"-o", "out", "--columns", "all", "--summary", "s.json", "log.wav"});
    const program_run run = run_zentri_args(dir, all);
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    const nlohmann::json summary = nlohmann::json::parse(dir.read("s.json"));
    for (int k = 0; k < 3; ++k) {
        const std::string ref = "ref" + std::to_string(k + 1);
        dir.write(ref + ".txt", amplitude_text(channel[k]));
        args one = choices;
        one.insert(one.end(),
                   {"--rate", "1024", "-o", ref, "--summary", ref + ".json", ref + ".txt"});
        ASSERT_EQ(run_zentri_args(dir, one).exit_status, 0);
        expect_same_files(dir, "out/col" + std::to_string(k + 1), ref);
        // The record's figures are those of the text run; the text's mean and rms
        // are summed from its decimals, so they agree to single precision only.
        nlohmann::json sound = summary[k]["record"];
        nlohmann::json text = nlohmann::json::parse(dir.read(ref + ".json"))["record"];
        for (const char* f : {"mean", "rms"}) {
            EXPECT_NEAR(sound[f].get<double>(), text[f].get<double>(), 1e-6) << f;
            sound.erase(f);
            text.erase(f);
        }
        sound.erase("path");
        text.erase("path");
        EXPECT_EQ(sound, text);
    }
    // The header gives the rate; a channel past the file's is refused.
    args with_rate = choices;
    with_rate.insert(with_rate.end(), {"--rate", "1000", "log.wav"});
    EXPECT_EQ(run_zentri_args(dir, with_rate).exit_status, 2);
    args past = choices;
    past.insert(past.end(), {"--column", "4", "log.wav"});
    const program_run refused = run_zentri_args(dir, past);
    EXPECT_EQ(refused.exit_status, 1);
    EXPECT_EQ(refused.errors, "zentri: --column 4: the sound file has only 3 channels.\n");
    // A sound file's reference is a channel from 1, checked against its channels.
    args reference = choices;
    reference.insert(reference.end(),
                     {"-o", "h1", "--columns", "all", "--reference", "1", "log.wav"});
    ASSERT_EQ(run_zentri_args(dir, reference).exit_status, 0);
    EXPECT_TRUE(dir.exists("h1/col2/H1.frf"));
    reference[reference.size() - 2] = "4";
    const program_run beyond = run_zentri_args(dir, reference);
    EXPECT_EQ(beyond.exit_status, 1);
    EXPECT_EQ(beyond.errors, "zentri: --reference 4: the sound file has only 3 channels.\n");
    // Bytes that are no sound file are read as text, as ever, and refused.
    std::string bytes(65536, '\0');
    std::uint64_t x = 88172645463325252ULL;
    for (char& b : bytes) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        b = static_cast<char>(x >> 56);
    }
    dir.write("noise.bin", bytes);
    args noise = choices;
    noise.insert(noise.end(), {"-o", "noise", "noise.bin"});
    const program_run random = run_zentri_args(dir, noise);
    EXPECT_EQ(random.exit_status, 1);
    EXPECT_NE(random.errors.find("zentri: the input file must hold at least two pairs"),
              std::string::npos)
        << random.errors;
    EXPECT_EQ(dir.names("noise"), args{});
}

TEST(SoundRecords, ScaleGivesEngineeringUnitsOfPcmAndLeavesPowersOfTwoExact)
{
    scratch_dir dir;
    // A 16-bit sine of half full scale at 64 Hz, 4096 frames at 1024 frames/s:
    // times 10 a sine of 5 G, so the peak file's line at 64 Hz reads 5 G.
    std::vector<short> pcm;
    std::vector<float> text_values;
    for (int i = 0; i < 4096; ++i) {
        pcm.push_back(static_cast<short>(std::lround(16384 * std::sin(2 * M_PI * 64 * i / 1024.))));
        text_values.push_back(static_cast<float>(0.001 * i + std::sin(i * 0.3)));
    }
    write_sound(dir.file("pcm.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, pcm);
    const program_run run =
        run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "1024", "-w", "rectangular", "--scale",
                              "10", "-o", "out", "--summary", "s.json", "pcm.wav"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    const std::vector<spectrum_row> peak = parse_rows(dir.read("out/A_Gpk.mag"));
    ASSERT_GT(peak.size(), 64u);
    EXPECT_NEAR(peak[64].v, 5.0, 1e-3);
    const nlohmann::json summary = nlohmann::json::parse(dir.read("s.json"));
    EXPECT_EQ(summary["choices"]["scale"], 10.0);
    EXPECT_NEAR(summary["record"]["rms"].get<double>(), 5.0 / std::sqrt(2.0), 1e-3);
    // A text record with --scale 0.25 against the text of the quarters themselves.
    std::vector<float> quarters;
    for (float v : text_values) quarters.push_back(v * 0.25f);
    dir.write("whole.txt", amplitude_text(text_values));
    dir.write("quarters.txt", amplitude_text(quarters));
    const args choices = {"-q", "1", "-u", "G", "-m", "512", "--rate", "1024"};
    args scaled = choices, plain = choices;
    scaled.insert(scaled.end(), {"--scale", "0.25", "-o", "scaled", "whole.txt"});
    plain.insert(plain.end(), {"-o", "plain", "quarters.txt"});
    ASSERT_EQ(run_zentri_args(dir, scaled).exit_status, 0);
    ASSERT_EQ(run_zentri_args(dir, plain).exit_status, 0);
    expect_same_files(dir, "scaled", "plain");
}

TEST(SoundRecords, TwentyFourBitFlacGivesItsTextRun)
{
    scratch_dir dir;
    // 24-bit samples k, stored as k * 256 in libsndfile's 32-bit ints; read as k / 2^23.
    std::vector<int> samples;
    std::vector<float> values;
    for (int i = 0; i < 5000; ++i) {
        const int k =
            static_cast<int>(std::lround(6e6 * std::sin(i * 0.11) + 1e5 * std::sin(i * 1.7)));
        samples.push_back(k * 256);
        values.push_back(static_cast<float>(k / 8388608.));
    }
    write_sound(dir.file("rec.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1, samples);
    dir.write("rec.txt", amplitude_text(values));
    const args choices = {"-q", "1", "-u", "G", "-m", "1024"};
    args flac = choices, text = choices;
    flac.insert(flac.end(), {"-o", "flac", "rec.flac"});
    text.insert(text.end(), {"--rate", "1024", "-o", "text", "rec.txt"});
    const program_run run = run_zentri_args(dir, flac);
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_NE(run.console.find("sound file: FLAC"), std::string::npos) << run.console;
    ASSERT_EQ(run_zentri_args(dir, text).exit_status, 0);
    expect_same_files(dir, "flac", "text");
}

} // namespace

namespace {

// The bytes of a one-channel WAV file of the samples: format code 3 (float) or
// 1 (PCM), bits per sample, channels and rate as its header is to say.
template <class T>
std::string wav_bytes(int code, int channels, int rate, const std::vector<T>& samples)
{
    const auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<char*>(&v), 4); };
    const auto u16 = [](std::uint16_t v) { return std::string(reinterpret_cast<char*>(&v), 2); };
    const std::string data(reinterpret_cast<const char*>(samples.data()), samples.size() * sizeof(T));
    const int bits = 8 * sizeof(T);
    return "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(code) + u16(channels) +
           u32(rate) + u32(rate * channels * bits / 8) + u16(channels * bits / 8) + u16(bits) +
           "data" + u32(data.size()) + data;
}

TEST(SoundRecords, BrokenSoundFilesEndTheRunWithOneLineAndLeaveNothing)
{
    std::vector<float> floats(4096);
    std::vector<double> doubles(4096);
    for (int i = 0; i < 4096; ++i) floats[i] = static_cast<float>(doubles[i] = std::sin(i * 0.1));
    floats[3000] = NAN;
    doubles[3000] = 1e300;
    const std::vector<short> pcm(4096);
    const std::string invalid = "zentri: the record starts as a WAV file, but its sound header is invalid (";
    const struct {
        const char* what;
        std::string bytes;
        std::string message; // how the one line of standard error starts
    } cases[] = {
        {"a NaN float sample", wav_bytes(3, 1, 1024, floats),
         "zentri: sample 3001 of channel 1 of the sound file is not a finite number.\n"},
        {"a 64-bit sample of 1e300", wav_bytes(3, 1, 1024, doubles),
         "zentri: sample 3001 of channel 1 of the sound file is not a finite number.\n"},
        {"a rate of 0 Hz", wav_bytes(1, 1, 0, pcm), invalid},
        {"no channel", wav_bytes(1, 0, 1024, pcm), invalid},
        {"a header cut short", wav_bytes(1, 1, 1024, pcm).substr(0, 30), invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scratch_dir dir;
        dir.write("rec.wav", c.bytes);
        const program_run run =
            run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "256", "-o", "out", "rec.wav"});
        EXPECT_EQ(run.exit_status, 1);
        EXPECT_EQ(run.errors.rfind(c.message, 0), 0u) << run.errors;
        EXPECT_EQ(dir.names(), args{"rec.wav"});
    }
}

} // namespace

namespace {

TEST(SoundRecords, APipedSoundFileIsReadAsItsFileAndOneThatNeedsSeekingIsRefused)
{
    scratch_dir dir;
    std::vector<float> floats(8192);
    for (int i = 0; i < 8192; ++i) floats[i] = static_cast<float>(std::sin(i * 0.1));
    std::string bytes = wav_bytes(3, 1, 1024, floats);
    dir.write("rec.wav", bytes);
    const std::string run = "$ZENTRI -q 1 -u G -m 256 -o ";
    ASSERT_EQ(run_shell(dir, run + "file rec.wav"), 0) << dir.read("errors.txt");
    ASSERT_EQ(run_shell(dir, "cat rec.wav | " + run + "piped -"), 0) << dir.read("errors.txt");
    expect_same_files(dir, "file", "piped");
    // A chunk of 2 MiB before the samples: a pipe cannot give them after libsndfile's skip.
    bytes.insert(36, "JUNK" + std::string("\0\0\x20\0", 4) + std::string(2 << 20, '\0'));
    dir.write("junk.wav", bytes);
    EXPECT_EQ(run_shell(dir, "cat junk.wav | " + run + "junk -"), 1);
    EXPECT_TRUE(dir.read("errors.txt").rfind("zentri: the piped record is a WAV file", 0) == 0 &&
                dir.read("errors.txt").find("give the file's path") != std::string::npos)
        << dir.read("errors.txt");
    EXPECT_FALSE(dir.exists("junk"));
}

} // namespace
