// How far the lines of an averaged PSD may lie from the true PSD. For Gaussian
// noise each line of an average of nave segments is the true PSD times a
// chi-square variable of dof = 2 nave degrees of freedom, divided by dof; so in
// 90 % of the lines the true PSD lies between dof/chi2_0.95(dof) and
// dof/chi2_0.05(dof) times the line. The quantiles come from Boost.Math.
#pragma once

#include <cstdint>

// The 90 % range of a PSD line, in dB relative to the estimate.
struct confidence_range {
    std::uint32_t dof; // degrees of freedom, 2 nave
    double low_db;     // 10 log10(dof / chi2_0.95(dof)), below 0
    double high_db;    // 10 log10(dof / chi2_0.05(dof)), above 0
};

// The 90 % range of a PSD averaged over nave segments; not-a-number for none.
confidence_range confidence_90(std::uint32_t nave);
