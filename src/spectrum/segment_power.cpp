// A segment's mean square from the power of its bins, and four segments' sums at once.
#include "spectrum/segment_power.h"

namespace {

// Adds term(entry k) over k < m, in bin order, for each of seg[0..count-1]:
// one segment in a chain of its own, several in chained_segments chains side by
// side (the unused ones repeat the first segment, costing no more time).
template <class Term>
void chained_sums(const complex_entry* const* seg, std::size_t count, std::uint32_t m, double* out,
                  Term term)
{
    if (count == 1) {
        double sum = 0.;
        for (std::uint32_t k = 0; k < m; ++k) sum = sum + term(seg[0][k]);
        out[0] = sum;
        return;
    }
    static_assert(chained_segments == 4, "the loop below keeps four chains");
    const complex_entry* s[chained_segments];
    for (std::size_t j = 0; j < chained_segments; ++j) s[j] = seg[j < count ? j : 0];
    double s0 = 0., s1 = 0., s2 = 0., s3 = 0.;
    for (std::uint32_t k = 0; k < m; ++k) {
        s0 = s0 + term(s[0][k]);
        s1 = s1 + term(s[1][k]);
        s2 = s2 + term(s[2][k]);
        s3 = s3 + term(s[3][k]);
    }
    const double sums[chained_segments] = {s0, s1, s2, s3};
    for (std::size_t j = 0; j < count; ++j) out[j] = sums[j];
}

// The power of a bin of a spectrum (an object, so each loop has it inlined).
constexpr auto entry_power = [](const complex_entry& e) { return bin_power(e.re, e.im); };

} // namespace

double segment_mean_square(const complex_entry* spectrum, std::uint32_t m)
{
    double sum;
    chained_sums(&spectrum, 1, m, &sum, entry_power);
    return sum;
}

void chained_mean_squares(const complex_entry* const* seg, std::size_t count, std::uint32_t m,
                          double* out)
{
    chained_sums(seg, count, m, out, entry_power);
}

void chained_sample_means(const complex_entry* const* seg, std::size_t count, std::uint32_t m,
                          double* out)
{
    chained_sums(seg, count, m, out,
                 [](const complex_entry& e) { return static_cast<double>(e.re); });
    for (std::size_t j = 0; j < count; ++j) out[j] = out[j] / m;
}
