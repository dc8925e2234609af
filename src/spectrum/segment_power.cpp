// A segment's mean square from the power of its bins.
#include "spectrum/segment_power.h"

double segment_mean_square(const complex_entry* spectrum, std::uint32_t m)
{
    double sum = 0.;
    for (std::uint32_t k = 0; k < m; ++k) sum = sum + bin_power(spectrum[k].re, spectrum[k].im);
    return sum;
}
