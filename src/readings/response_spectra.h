// The response spectra of an acceleration PSD or a test profile: per natural
// frequency the oscillators' rms response (VRS), Miles' estimate of it, and the
// most probable largest peak over a duration (ERS), all in G.
#pragma once

#include "input/profile_file.h"
#include "readings/psd_view.h"

#include <string>
#include <vector>

// One oscillator's response.
struct response_point {
    double fn;    // natural frequency, Hz
    double vrs;   // rms absolute-acceleration response, G
    double miles; // Miles' estimate sqrt(pi/2 fn q G(fn)), G; NaN where fn is beyond the spectrum
    double ers;   // most probable largest peak vrs sqrt(2 ln(fn T)), G; NaN where fn T <= 1
};

// The response spectra, or the usage fault that prevents them.
struct response_spectra {
    std::string error;                  // "" when computed, else what is wrong
    std::vector<response_point> points; // one per natural frequency, in the order given
};

// The fault of a quality factor or duration not above 0, "" when both are sound.
std::string response_usage_error(double q, double duration);

// The spectra of the PSD of an acceleration record (an error for another
// quantity) over duration seconds.
response_spectra psd_response_spectra(const psd_view& view, const std::vector<double>& fn, double q,
                                      double duration);

// The spectra of a profile in G^2/Hz over duration seconds, the profile taken
// between its first and last breakpoints.
response_spectra profile_response_spectra(const std::vector<profile_point>& profile,
                                          const std::vector<double>& fn, double q, double duration);

// The point of the largest VRS; fn 0 when there is none.
response_point largest_response(const response_spectra& spectra);
