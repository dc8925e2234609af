// Resetting the program-wide state and giving it a record or console input for a test.
#include "state_fixture.h"
#include "cli/command_line.h"
#include "cli/fatigue_option.h"
#include "cli/history_option.h"
#include "cli/layout_options.h"
#include "cli/oscillator_option.h"
#include "cli/profile_option.h"
#include "cli/reading_options.h"
#include "cli/srs_option.h"
#include "core/helper_ending.h"
#include "core/run_cleanups.h"
#include "input/column_reader.h"
#include "input/pair_feed.h"
#include "input/pass_survey.h"
#include "input/record_change.h"
#include "input/record_format.h"
#include "input/record_reader.h"
#include "input/record_scanner.h"
#include "input/sound_reader.h"
#include "input/survey_halves.h"
#include "input/survey_record.h"
#include "output/record_guard.h"
#include "output/result_lock.h"
#include "output/run_leftovers.h"
#include "output/staged_files.h"
#include "platform/console_format.h"
#include "platform/console_input.h"
#include "platform/ending_signals.h"
#include "platform/key_wait.h"
#include "platform/progress_bar.h"
#include "run/history_step.h"
#include "run/rainflow_feed.h"
#include "run/srs_step.h"
#include "spectrum/channel_store.h"
#include "spectrum/cross_spectrum.h"
#include "spectrum/ctfourier.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace {

// Returns every record outside st to its start-up state, folder by folder.
void reset_other_records()
{
    reset_run_cleanups();
    reset_reader_choice();
    reset_thread_role();
    reset_pair_feed();
    reset_pass_survey();
    reset_record_change();
    reset_survey_halves();
    reset_scanner();
    reset_column_reader();
    reset_sound_reader();
    reset_guarded_inputs();
    reset_console();
    reset_console_output();
    reset_signal_handling();
    reset_key_wait();
    reset_progress_bar();
    reset_fourier();
    reset_channel_stores();
    reset_kept_spectra();
    reset_leftovers();
    reset_result_locks();
    reset_staged_files();
    reset_script_options();
    reset_layout_given();
    reset_profile_option();
    reset_oscillator_option();
    reset_reading_given();
    reset_fatigue_option();
    reset_rainflow_feed();
    reset_history_option();
    reset_history();
    reset_srs_option();
    reset_srs_feed();
}

} // namespace

void reset_state()
{
    close_record();
    std::memset(&st, 0, sizeof st);
    set_constants();
    reset_other_records();
}

void open_record_text(const std::string& text)
{
    close_record();
    std::FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    st.fp[1] = f;
    choose_record_reader();
}

void open_counted_record(const std::string& text)
{
    open_record_text(text);
    double t = 0., a = 0.;
    for (st.record_pairs = 0; scan_survey_pair(&t, &a) == 2;) ++st.record_pairs;
    note_record_size();
    rewind_record();
}

void close_record()
{
    if (st.fp[1] != nullptr) std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
}

void set_console_input(const std::string& text)
{
    char path[] = "/tmp/zentri_stdin_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("cannot write the console input");
    close(fd);
    if (std::freopen(path, "r", stdin) == nullptr) throw std::runtime_error("cannot reopen stdin");
    unlink(path);
}

std::string survey_of(const std::string& record)
{
    reset_state();
    open_record_text(record);
    return console_of(survey_record);
}
