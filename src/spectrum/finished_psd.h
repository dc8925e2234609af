// The finished one-sided PSD: the summed power of st.psd normalised in place
// into the PSD, and the overall rms, before any file is written, so the writers
// only format rows and the readings can look at the same numbers.
#pragma once

// Turns the power summed over nave segments into the one-sided PSD, bins
// 0..m/2-1 of st.psd, and sets st.overall_ms and st.overall_rms (English unit).
void finish_psd();
