// The program-wide record of a run: every buffer, table, counter, choice and
// constant lives here, in static storage, for the life of the process.
// Procedures read and write its fields directly through the one instance `st`.
// Every other piece of mutable state is a named record declared in its file's
// header, one instance each, with a reset_* function the tests' reset calls:
//   core/run_cleanups.h        `cleanups`       clean-ups registered for an early end
//   core/helper_ending.h       `thread_role::own` whether the calling thread is a helper
//   platform/console_format.h  `console`        the console's mute switch
//   platform/console_input.h   `console_output` standard output's buffer
//   platform/ending_signals.h  `signal_handling` the clean-up the signal handler runs
//   platform/key_wait.h        `key_wait`       the terminal's settings during the wait
//   platform/progress_bar.h    `progress_bar`   the progress bar on standard error
//   input/record_reader.h      `reader_choice`  the reader chosen for the record
//   input/record_scanner.h     `scanner`        the fast scanner's blocks of the record
//   input/column_reader.h      `column_read`    where the column reader stands, its sums
//   input/column_reader.h      `column_kept`    the segment's lines kept for later channels
//   input/sound_reader.h       `sound_read`     the sound file, where its reader stands
//   input/sound_reader.h       `sound_frames`   the frames read from the sound file
//   input/survey_halves.h      `survey_halves`  the count in halves: its split and buffers
//   input/record_place.h       `line_count`     when a line count runs in two halves, and
//                              on which loop (settings each test restores: not reset)
//   input/record_change.h      `record_change`  the record's size and stamp at open
//   input/pass_survey.h        `pass_survey`    the single pass's survey as it gathers
//   input/pair_feed.h          `pair_feed`      the read-ahead thread's blocks and hand-over
//   spectrum/ctfourier.h       `fourier`        the transform's choice of loops
//   spectrum/channel_store.h   `stores`         each channel's overlap, power and cross-power
//   spectrum/cross_spectrum.h  `kept_spectra`   the spectra kept for the cross-power
//   spectrum/transform_pool.cpp  the workers' pool: made on first use, on the heap, for
//                              the process's life (threads cannot be reset)
//   output/run_leftovers.h     `leftovers`      temporary files and made folders to remove
//   output/record_guard.h      `guarded`        the input files noted, kept from being written
//   output/result_lock.h       `result_locks`   the locked result folders
//   output/staged_files.h      `staged_files`   the result files staged so far
//   cli/command_line.h         `opts`           the scripted run's options
//   cli/layout_options.h       `layout_given`   --columns all given
//   cli/profile_option.h       `profile_option` --profile and --tolerance
//   cli/oscillator_option.h    `oscillator_option` --q, --fn-step and --fn-range
//   cli/reading_options.h      `reading_given`  --also as given
//   cli/fatigue_option.h       `fatigue_option` --vrs, --fds, --rainflow, --sn, --duration
//   run/rainflow_feed.h        `rainflow_feed`  each channel's rainflow count in the pass
//   cli/history_option.h       `history_option` --histogram, --running, --spectrogram, --hold
//   run/history_step.h         `history`        each channel's time history in the pass
//   cli/srs_option.h           `srs_option`     --srs, --srs-profile and --srs-tolerance
//   run/srs_step.h             `srs_feed`       the shock spectrum's oscillator banks
#pragma once

#include <cstdint>
#include <cstdio>

constexpr unsigned max_m = 65536;        // largest segment, samples (2^16)
constexpr unsigned seg_entries = 131072; // capacity of the segment buffer
constexpr int name_chars = 260;          // characters of one file-name slot, terminator included
constexpr int file_slots = 16;           // file-name and stream slots 0..15

// Codes of the choices and of the run status, as the fields below hold them.
constexpr int volts = 6;               // input_type of a voltage record, the last quantity
constexpr int rectangular_window = 1;  // window_choice: no window
constexpr int hanning_window = 2;      // window_choice: the Hanning window
constexpr int mean_removed = 1;        // mean_choice: each segment's mean is removed
constexpr int mean_kept = 2;           // mean_choice: the mean stays
constexpr int status_running = 1;      // status while a run proceeds
constexpr int status_exhausted = 905;  // status once the record has no more segments
constexpr int status_rejected_m = 999; // status while the segment-length question repeats

// One complex entry: real part, then imaginary part, both single precision.
struct complex_entry {
    float re;
    float im;
};

struct analysis_state {
    /* sample and spectrum buffers */
    complex_entry seg[seg_entries]; // current segment, transformed in place into its spectrum
    double psd[max_m];              // power summed per bin, then the one-sided PSD
    float overlap[max_m];           // raw second half of the previous segment
    complex_entry twiddle[max_m];   // scratch copy of the segment for the input reordering

    /* files */
    char fname[file_slots][name_chars]; // slot 1 input path, slots 2..15 output names
    std::FILE* fp[file_slots];          // open streams, numbered as fname
    bool write_failed[file_slots];      // a write or close of that slot's file has failed
    int write_error[file_slots];        // the C library's error (errno) of that failure

    /* record layout, set by the options of a scripted run */
    std::int32_t column;    // amplitude column read by the column reader; 0 reads the plain pairs
    double rate;            // samples per second of a record without a time column, else 0
    std::int32_t channels;  // amplitude columns read at once from column on (--columns all), else 0
    std::int32_t reference; // column of the reference channel (--reference N), else 0
    bool sound;             // the record is a sound file, read through libsndfile
    float scale;            // --scale: every amplitude read is multiplied by it; 0 for none

    /* segment geometry */
    std::uint32_t m;       // samples per segment, a power of two 2..65536
    std::uint32_t nhs;     // m/2, samples carried over and read anew per later segment
    std::uint32_t nstages; // log2(m)

    /* run progress */
    std::uint32_t nave;  // segments transformed so far
    std::uint32_t ns;    // samples obtained by the last segment read
    std::int32_t status; // 0 at entry, 1 running, 999 rejected segment length, 905 record exhausted

    /* the user's choices */
    std::int32_t input_type;    // quantity 1..6: acceleration .. pressure, 6 volts
    std::int32_t input_unit;    // unit code within the quantity; 0 for volts
    std::int32_t mean_choice;   // 1 = remove each segment's mean
    std::int32_t window_choice; // 2 = Hanning window

    /* time base of the first segment */
    double t_first; // time of the first sample, s
    double t_last;  // time of sample m of the first segment, s
    double dt;      // time step, s
    double sr;      // sample rate, samples/s
    double df;      // frequency resolution, Hz

    /* statistics of the segment just read (input unit) */
    double ave;      // mean
    double stddev;   // standard deviation
    double rms;      // root mean square
    double kurtosis; // fourth moment about the mean over stddev^4

    /* the record as the survey counted it */
    double rec_start;           // time of the first pair, s
    double rec_end;             // time of the last pair counted, s
    double rec_dt;              // the survey's time step, s
    double rec_mean;            // mean of the amplitudes of all pairs counted (input unit)
    double rec_rms;             // rms of the amplitudes of all pairs counted (input unit)
    std::uint32_t record_pairs; // pairs counted in the whole record
    long gaps;                  // steps of the time column found to be gaps or steps back
    long long rec_bytes;        // size of the record file when the survey had counted it, or -1
    bool one_pass;              // the survey is gathered from the segment pass's own reads

    /* spectrum results */
    double hann_scale;         // Hanning power restoration sqrt(8/3)
    double hann_weight[max_m]; // Hanning weights of entries 0..hann_m-1, kept between segments
    std::uint32_t hann_m;      // segment length the weights were computed for, 0 for none
    complex_entry stage_twiddle[max_m]; // stage twiddle factors, the stage of half h from entry h-2
    std::uint32_t twiddle_m;            // segment length the stage twiddles cover, 0 for none
    double overall_ms;                  // running sum of the one-sided PSD, then the overall rms
    double overall_rms;                 // the overall rms in the quantity's first unit, as printed

    /* how the run is driven */
    bool scripted;     // options given: no dialogue, errors as one line on stderr, exit 0/1/2
    bool buffers_used; // a run began in this process: the sample buffers may hold its values

    /* constants set at start-up */
    double g_per_ms2;  // G per m/sec^2
    double in_per_m;   // inches per meter
    double lbf_per_n;  // lbf per newton
    double psi_per_pa; // psi per pascal
    double pi;         // atan2(0, -1)
    double tpi;        // 2 pi
};

extern analysis_state st;

// Sets the conversion constants and pi, tpi (pi first: tpi derives from it).
void set_constants();
