// A segment's mean square from the power of its bins, and four segments' sums at once.
#include "spectrum/segment_power.h"

double segment_mean_square(const complex_entry* spectrum, std::uint32_t m)
{
    double sum = 0.;
    for (std::uint32_t k = 0; k < m; ++k) sum = sum + bin_power(spectrum[k].re, spectrum[k].im);
    return sum;
}

void chained_mean_squares(const complex_entry* const* seg, std::uint32_t m, double* out)
{
    double s0 = 0., s1 = 0., s2 = 0., s3 = 0.;
    for (std::uint32_t k = 0; k < m; ++k) {
        s0 = s0 + bin_power(seg[0][k].re, seg[0][k].im);
        s1 = s1 + bin_power(seg[1][k].re, seg[1][k].im);
        s2 = s2 + bin_power(seg[2][k].re, seg[2][k].im);
        s3 = s3 + bin_power(seg[3][k].re, seg[3][k].im);
    }
    out[0] = s0;
    out[1] = s1;
    out[2] = s2;
    out[3] = s3;
}

void chained_sample_means(const complex_entry* const* seg, std::uint32_t m, double* out)
{
    double s0 = 0., s1 = 0., s2 = 0., s3 = 0.;
    for (std::uint32_t i = 0; i < m; ++i) {
        s0 = s0 + static_cast<double>(seg[0][i].re);
        s1 = s1 + static_cast<double>(seg[1][i].re);
        s2 = s2 + static_cast<double>(seg[2][i].re);
        s3 = s3 + static_cast<double>(seg[3][i].re);
    }
    out[0] = s0 / m;
    out[1] = s1 / m;
    out[2] = s2 / m;
    out[3] = s3 / m;
}
