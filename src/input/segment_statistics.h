// A segment's statistics: mean, standard deviation, rms and kurtosis.
#pragma once

// Computes and prints ave, stddev, rms and kurtosis of seg entries 0..n-1; when
// nothing is printed it computes nothing, as the mean is then taken by the
// thread that transforms the segment (segment_mean_deferred()).
void segment_statistics(unsigned n);

// True when the segments' means are left to the threads that transform them:
// the console prints no statistics, so the reading thread need not add the samples.
bool segment_mean_deferred();
