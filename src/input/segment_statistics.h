// A segment's statistics: mean, standard deviation, rms and kurtosis.
#pragma once

// Computes and prints ave, stddev, rms and kurtosis of seg entries 0..n-1.
void segment_statistics(unsigned n);
