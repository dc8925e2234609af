// The feed of the per-sample results: the time history's.
#include "run/per_sample_feed.h"
#include "run/history_step.h"

void feed_per_sample_work(const sample_block& block)
{
    history_feed(block);
}
