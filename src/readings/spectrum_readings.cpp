// Reading the tones and bands a run asks for from one spectrum.
#include "readings/spectrum_readings.h"
#include "readings/band_power.h"

spectrum_readings read_spectrum(const psd_view& view, const reading_request& request)
{
    spectrum_readings out;
    out.tones = find_tones(view, request.tones);
    for (const band_request& b : request.bands)
        out.bands.push_back(
            {b.low, b.high, band_rms(view, b.low, b.high), band_in_spectrum(view, b.low, b.high)});
    return out;
}
