// The scripted run from end to end: options, record, survey, segments, the
// result files put in place, then the report.
#include "cli/scripted_run.h"
#include "cli/command_line.h"
#include "cli/layout_options.h"
#include "cli/report.h"
#include "cli/script_messages.h"
#include "input/amplitude_scale.h"
#include "input/input.h"
#include "input/record_layout.h"
#include "output/channel_folders.h"
#include "output/result_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"
#include "platform/console_input.h"
#include "platform/progress_bar.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

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

// Makes the output folder and the folders above it where missing, as mkdir -p
// does, and returns its real path; ends with status 1 when that cannot be done.
std::string make_output_folder()
{
    const std::string& dir = opts.output_dir;
    for (std::size_t at = dir.find('/', 1);; at = dir.find('/', at + 1)) {
        const std::string part = dir.substr(0, at);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            script_exit(1, "-o %s: %s: %s", dir.c_str(), part.c_str(), std::strerror(errno));
        if (at == std::string::npos) break;
    }
    struct stat info {};
    char real[PATH_MAX];
    if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        realpath(dir.c_str(), real) == nullptr)
        script_exit(1, "-o %s: not a folder", dir.c_str());
    return real;
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

// Ends with status 1 when standard output could not take the report.
void check_stdout()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
        script_exit(1, "standard output: %s", std::strerror(errno));
}

} // namespace

void scripted_run(int argc, char** argv)
{
    st.scripted = true;
    set_console_buffering();
    read_command_line(argc, argv);
    set_console_muted(true);
    start_run();
    st.status = status_running;
    open_script_record();
    open_sound_record();
    check_record_layout(opts.record.c_str());
    prepare_layout(every_column_asked());
    if (opts.survey_only) survey_only();
    const std::string folder = make_output_folder();
    catch_ending_signals();
    set_console_muted(opts.level != report_level::verbose);
    survey_record();
    scale_survey_figures();
    rewind_record();
    check_segment_fits();
    // With --verbose the segments' own text shows the progress; a bar would break into it.
    if (opts.level != report_level::verbose) progress_begin(1 + (st.record_pairs - st.m) / st.nhs);
    const std::vector<std::string> names = channel_folders(); // from the header, while it is open
    st.channels > 0 ? channel_segment_loop() : segment_loop();
    progress_end();
    close_sound_record();
    std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
    const result_request request{folder, opts.summary, opts.record};
    const run_outcome outcome = st.channels > 0 ? write_channel_files(request, names)
                                                : write_result_files(request);
    if (opts.level == report_level::verbose) zprint("\n\n");
    report_record();
    report_outcome(outcome);
    check_stdout();
    std::exit(0);
}
