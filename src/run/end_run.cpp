#include "input/pair_feed.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cstdlib>

void end_run(const char* message)
{
    zprint("%s", message);
    stop_pair_feed(); // before the record it reads is closed
    if (st.fp[1] != nullptr) {
        std::fclose(st.fp[1]);
        st.fp[1] = nullptr;
    }
    std::fflush(stdout);
    std::exit(1);
}

void input_error()
{
    end_run("\n Input Error");
}
