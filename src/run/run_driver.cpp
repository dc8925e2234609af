// The interactive run from banner to key wait, and the start of every run.
#include "run/run_driver.h"
#include "core/analysis_state.h"
#include "input/record_format.h"
#include "input/survey_record.h"
#include "platform/console_format.h"
#include "platform/console_input.h"
#include "platform/key_wait.h"
#include "run/input_dialogue.h"
#include "run/output_stage.h"
#include "run/segment_length_dialogue.h"
#include "run/segment_loop.h"

#include <cstdlib>
#include <cstring>

void start_run()
{
    st.status = 0;
    zprint("\n\n\n\n\n\n\n");
    zprint("\n zentri  ver 3.2 \n February 9, 2005");
    zprint("\n by the zentri project developers");
    zprint("\n e-mail: developers@zentri.invalid\n");
    // The buffers of a process's first run are zero as it starts; clearing
    // them would only touch their 1.75 MB of pages for nothing.
    if (st.buffers_used) {
        std::memset(st.seg, 0, sizeof st.seg);
        std::memset(st.twiddle, 0, sizeof st.twiddle);
        std::memset(st.psd, 0, sizeof st.psd);
        std::memset(st.overlap, 0, sizeof st.overlap);
    }
    st.buffers_used = true;
}

void run_driver()
{
    set_console_buffering();
    start_run();
    input_dialogue();
    survey_record();
    rewind_record();
    segment_length_dialogue();
    choices_dialogue();
    segment_loop();
    std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
    output_stage();
    zprint("\n\n Please call the output files into your own plotting program. \n");
    zprint("\n Press any key to exit.");
    wait_for_key();
    std::exit(1);
}
