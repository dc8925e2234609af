// A lone tone between the lines of a rectangular-window PSD: with no window a
// sine f = (k + d) df spreads over the lines in the window's own shape, the
// Dirichlet kernel D(u) = sin(pi u) / (m sin(pi u / m)), power share D(u)^2 at
// a line u bins away. The ratio of the magnitudes of its two largest lines, k
// and its larger neighbour, gives d; their power over their shares gives the
// tone's whole power. (A lobe of three lines holds as little as 81 % of it.)
#pragma once

#include "readings/psd_view.h"

// Where a tone with its largest line at k lies and how much power it has.
struct rectangular_tone {
    double frequency;   // (k + d) df, Hz
    double mean_square; // SI, the sine's power: its amplitude squared over 2
};

// The tone at line k (1 <= k < m/2) of a rectangular-window view.
rectangular_tone read_rectangular_tone(const psd_view& view, std::uint32_t k);
