// The feed of the per-sample results: the time history's and the rainflow count.
#include "run/per_sample_feed.h"
#include "run/history_step.h"
#include "run/rainflow_feed.h"

void feed_per_sample_work(const sample_block& block)
{
    history_feed(block);
    feed_rainflow_block(block);
}
