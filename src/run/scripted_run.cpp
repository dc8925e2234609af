// The scripted run from end to end: options, record, survey, segments, the
// result files staged, the report, then the files put in place.
#include "run/scripted_run.h"
#include "cli/command_line.h"
#include "cli/history_option.h"
#include "cli/layout_options.h"
#include "cli/profile_option.h"
#include "cli/reading_options.h"
#include "cli/report.h"
#include "cli/srs_option.h"
#include "core/analysis_state.h"
#include "core/script_messages.h"
#include "input/amplitude_scale.h"
#include "input/open_record.h"
#include "input/pass_survey.h"
#include "input/record_change.h"
#include "input/record_format.h"
#include "input/record_layout.h"
#include "input/sound_reader.h"
#include "input/survey_record.h"
#include "output/channel_folders.h"
#include "output/record_guard.h"
#include "output/result_folders.h"
#include "output/result_lock.h"
#include "output/staged_files.h"
#include "platform/console_format.h"
#include "platform/console_input.h"
#include "platform/progress_bar.h"
#include "run/channel_loop.h"
#include "run/finished_views.h"
#include "run/result_step.h"
#include "run/run_driver.h"
#include "run/segment_loop.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// True when the run reads the record once: its survey comes from the segment
// pass. --survey and --verbose print the survey before the segments, so they
// read it twice.
bool reads_once()
{
    return !opts.survey_only && opts.level != report_level::verbose;
}

// Opens the record named on the command line into stream slot 1, or ends with
// status 1: a file, or for the single pass also "-" (standard input), a pipe
// or a FIFO.
void open_script_record()
{
    const char* path = opts.record.c_str();
    const int error = open_record(path, reads_once());
    if (error == not_regular_file && reads_once())
        script_exit(1, "%s: not a regular file, pipe or FIFO", path);
    if (error == not_regular_file)
        script_exit(1,
                    "%s: not a regular file; the record is read twice (for --survey and"
                    " --verbose), so it cannot be a folder, pipe or device",
                    path);
    if (error != 0) script_exit(1, "%s: %s", path, std::strerror(error));
    if (opts.record.size() < sizeof st.fname[1]) std::strcpy(st.fname[1], path);
}

// Prints the survey and its table, then ends with status 0.
[[noreturn]] void survey_only()
{
    set_console_muted(opts.level == report_level::quiet);
    survey_record();
    zprint("\n");
    std::fflush(stdout);
    std::exit(0);
}

// Ends with status 1, before any file is put in place, when standard output
// could not take the report.
void check_stdout()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
        give_up(std::string("standard output: ") + std::strerror(errno) + nothing_written);
}

// The survey's pass, then the segment pass, as the dialogue reads the record
// (--verbose prints both; the segments' own text shows the progress).
void read_twice()
{
    survey_record_in_order(); // the report shows the record's mean and rms
    scale_survey_figures();
    rewind_record();
    check_segment_fits();
    st.channels > 0 ? channel_segment_loop() : segment_loop();
}

// One pass: the segments, with the survey gathered from their reads; a bar
// shows the share of a file's bytes read, or the pairs read from a pipe.
void read_once()
{
    begin_pass_survey();
    const long long bytes = record_is_file() ? record_file_bytes() : 0;
    progress_begin(bytes > 0 ? static_cast<unsigned long long>(bytes) : 0);
    st.channels > 0 ? channel_segment_loop() : segment_loop();
    end_pass_survey();
    check_record_unchanged();
    progress_end();
}

} // namespace

void scripted_run(int argc, char** argv)
{
    st.scripted = true;
    set_console_buffering();
    read_command_line(argc, argv);
    const profile_request& profile = read_profile_option();
    read_srs_option();
    set_console_muted(true);
    start_run();
    st.status = status_running;
    open_script_record();
    open_sound_record();
    check_record_layout(opts.record.c_str());
    prepare_layout(every_column_asked());
    check_running_window(st.rate); // a rate given: a window too short is refused before the pass
    if (opts.survey_only) survey_only();
    const std::vector<std::string> names = channel_folders(); // from the header, while it is open
    guard_input("record", opts.record, fileno(st.fp[1]));
    catch_ending_signals();
    const std::string folder = make_output_folder(opts.output_dir);
    const std::string summary = summary_full_path(opts.summary); // checked before the long pass
    set_console_muted(opts.level != report_level::verbose);
    reads_once() ? read_once() : read_twice();
    close_record_reader();
    std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
    check_profile_covers_lines();
    lock_result_folders(folder, summary);
    result_request request{folder, opts.summary, opts.record};
    request.readings = opts.readings;
    request.profile = profile;
    const run_outcome outcome =
        st.channels > 0 ? write_channel_files(request, names) : write_result_files(request);
    warn_of_readings(finished_psd_view());
    if (opts.level == report_level::verbose) zprint("\n\n");
    report_record();
    report_outcome(outcome);
    warn_unchecked_profile(outcome);
    check_stdout();
    put_in_place();
    std::exit(profile_status(outcome));
}
