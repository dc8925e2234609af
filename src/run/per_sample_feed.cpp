// The feed of the per-sample results: the time history's, the rainflow count and the
// shock response spectrum's oscillators.
#include "run/per_sample_feed.h"
#include "run/history_step.h"
#include "run/rainflow_feed.h"
#include "run/srs_step.h"

void feed_per_sample_work(const sample_block& block)
{
    history_feed(block);
    feed_rainflow_block(block);
    feed_srs_block(block);
}
