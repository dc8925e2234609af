// The read-only views the readings and the writers take of the finished
// spectra: the PSD in st.psd and a response channel's cross-power.
#pragma once

#include "readings/psd_view.h"
#include "readings/transfer_function.h"

// A read-only view of the finished PSD in st.psd, with its run's parameters.
psd_view finished_psd_view();

// The summed spectra of the response channel and the reference, for H1 and the coherence.
cross_view channel_cross_view(int channel);
