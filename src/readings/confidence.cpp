// The 90 % confidence range of an averaged PSD, from the chi-square quantiles.
#include "readings/confidence.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>

confidence_range confidence_90(std::uint32_t nave)
{
    const std::uint32_t dof = 2 * nave;
    if (dof == 0) return {0, std::nan(""), std::nan("")};
    const boost::math::chi_squared chi2(dof);
    const double upper = boost::math::quantile(chi2, 0.95);
    const double lower = boost::math::quantile(chi2, 0.05);
    return {dof, 10. * std::log10(dof / upper), 10. * std::log10(dof / lower)};
}
