// The feed of the per-sample results: the shock response spectrum's oscillators.
#include "run/per_sample_feed.h"
#include "run/srs_step.h"

void feed_per_sample_work(const sample_block& block)
{
    feed_srs_block(block);
}
