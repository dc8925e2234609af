// The finished one-sided PSD: the summed power of st.psd normalised in place
// into the PSD, and the overall rms, before any file is written, so the writers
// only format rows and the readings can look at the same numbers.
#pragma once

#include <cstdint>

// The one-sided PSD of bin k from the power summed over nave segments: divided by
// df and nave, and for k > 0 times 4 and 0.5 (the negative frequencies folded in),
// in that order, so every spectrum normalised here has the PSD's bits.
double psd_of_power(double power, std::uint32_t k, double df, std::uint32_t nave);

// Turns the power summed over nave segments into the one-sided PSD, bins
// 0..m/2-1 of st.psd, and sets st.overall_ms and st.overall_rms (English unit).
void finish_psd();

// Ends the run when a line of the finished PSD or the overall rms is not a
// finite number: the spectrum overflowed (the scripted run's results only).
void refuse_overflowed_psd();
