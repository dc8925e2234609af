// Ending a run early and warning, in the dialogue's words or the scripted run's one line.
#include "core/end_run.h"
#include "core/analysis_state.h"
#include "core/helper_ending.h"
#include "core/run_cleanups.h"
#include "core/script_messages.h"
#include "platform/console_format.h"

#include <cstdlib>

void end_run(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string text = formatted(fmt, ap);
    va_end(ap);
    hand_over_on_helper(text, 1, true); // the read-ahead thread cannot stop itself
    stop_reading_threads();             // before the record they read is closed
    if (st.scripted) script_exit(1, "%s", one_line(text.c_str()).c_str());
    zprint("%s", text.c_str());
    if (st.fp[1] != nullptr) {
        std::fclose(st.fp[1]);
        st.fp[1] = nullptr;
    }
    std::fflush(stdout);
    std::exit(1);
}

void run_warning(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string text = formatted(fmt, ap);
    va_end(ap);
    if (st.scripted)
        script_warning("%s", one_line(text.c_str()).c_str());
    else
        zprint("%s", text.c_str());
}

void run_failed(const std::string& message)
{
    script_exit(1, "%s", message.c_str());
}

void input_error()
{
    end_run("\n Input Error");
}
