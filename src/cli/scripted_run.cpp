// The scripted run from end to end: options, record, survey, segments, the
// result files staged, the report, then the files put in place.
#include "cli/scripted_run.h"
#include "cli/command_line.h"
#include "cli/layout_options.h"
#include "cli/profile_option.h"
#include "cli/reading_options.h"
#include "cli/report.h"
#include "cli/script_messages.h"
#include "input/amplitude_scale.h"
#include "input/input.h"
#include "input/record_layout.h"
#include "output/channel_folders.h"
#include "output/record_guard.h"
#include "output/result_files.h"
#include "output/result_folders.h"
#include "output/result_lock.h"
#include "output/staged_files.h"
#include "platform/console_format.h"
#include "platform/console_input.h"
#include "platform/progress_bar.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Opens the record named on the command line into stream slot 1, or ends with status 1.
void open_script_record()
{
    const char* path = opts.record.c_str();
    const int error = open_record(path);
    if (error == not_regular_file)
        script_exit(1,
                    "%s: not a regular file; the record is read twice, so it cannot be a"
                    " folder, pipe or device",
                    path);
    if (error != 0) script_exit(1, "%s: %s", path, std::strerror(error));
    if (opts.record.size() < sizeof st.fname[1]) std::strcpy(st.fname[1], path);
}

// Ends with status 1 when the record holds fewer pairs than one segment.
void check_segment_fits()
{
    if (st.m <= st.record_pairs) return;
    script_exit(1,
                "-m %lu: the record holds only %lu pairs; choose a smaller power of two"
                " ('zentri --survey %s' lists them)",
                static_cast<unsigned long>(st.m), static_cast<unsigned long>(st.record_pairs),
                opts.record.c_str());
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

} // namespace

void scripted_run(int argc, char** argv)
{
    st.scripted = true;
    set_console_buffering();
    read_command_line(argc, argv);
    const profile_request& profile = read_profile_option();
    set_console_muted(true);
    start_run();
    st.status = status_running;
    open_script_record();
    open_sound_record();
    check_record_layout(opts.record.c_str());
    prepare_layout(every_column_asked());
    if (opts.survey_only) survey_only();
    const std::vector<std::string> names = channel_folders(); // from the header, while it is open
    refuse_record_as_output(opts.record, opts.output_dir, names, opts.summary);
    catch_ending_signals();
    const std::string folder = make_output_folder(opts.output_dir);
    const std::string summary = summary_full_path(opts.summary); // checked before the long pass
    set_console_muted(opts.level != report_level::verbose);
    survey_record();
    scale_survey_figures();
    rewind_record();
    check_segment_fits();
    // With --verbose the segments' own text shows the progress; a bar would break into it.
    if (opts.level != report_level::verbose) progress_begin(1 + (st.record_pairs - st.m) / st.nhs);
    st.channels > 0 ? channel_segment_loop() : segment_loop();
    progress_end();
    close_sound_record();
    std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
    lock_result_folders(folder, summary);
    result_request request{folder, opts.summary, opts.record};
    request.readings = opts.readings;
    request.profile = profile;
    const run_outcome outcome = st.channels > 0 ? write_channel_files(request, names)
                                                : write_result_files(request);
    warn_of_readings();
    if (opts.level == report_level::verbose) zprint("\n\n");
    report_record();
    report_outcome(outcome);
    warn_unchecked_profile(outcome);
    check_stdout();
    put_in_place();
    std::exit(profile_status(outcome));
}
