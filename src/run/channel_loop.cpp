// The segment loop for several channels. analysis_state holds one segment and
// one channel's overlap and psd, and every procedure of the loop works on it;
// each channel's own overlap is swapped through the record's around its turn,
// so the loop's procedures stay as the one-channel run has them; its power goes
// straight into its store.
// There is no reading ahead here: channel 0's reads keep every channel's lines
// for the others, which a second thread reading on would not. With a reference
// channel, each turn's spectrum goes into the cross-power of the responses.
#include "run/channel_loop.h"
#include "core/analysis_state.h"
#include "input/pass_survey.h"
#include "input/record_format.h"
#include "platform/progress_bar.h"
#include "run/segment_loop.h"
#include "spectrum/channel_store.h"
#include "spectrum/cross_spectrum.h"
#include "spectrum/transform_pool.h"

void channel_segment_loop()
{
    channel_store_start(); // every channel starts as the record does
    cross_spectrum_start();
    st.nave = 0;
    transform_pool_start();
    for (;;) {
        bool more = true;
        // Every channel takes its turn at the end too, so each gets its last, partial segment.
        for (int turn = 0; turn < st.channels; ++turn) {
            const int c = channel_of_turn(turn);
            select_record_channel(c);
            channel_swap_in(c);
            more = segment_step(c) && more; // its power and cross-power are added in turn order
            channel_swap_out(c);
        }
        if (!more) break;
        ++st.nave;
        progress_show(pass_progress());
    }
    transform_pool_finish();
    select_record_channel(-1);
    end_segment_pass();
}
