// The feed of the per-sample results: none is fed yet.
#include "run/per_sample_feed.h"

void feed_per_sample_work(const sample_block& /*block*/)
{}
