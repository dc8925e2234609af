// Computing the readings of a set and of its derived quantities, then handing
// them to the writers of the octave files, the derived sets and the table.
#include "run/reading_step.h"
#include "core/quantities.h"
#include "output/reading_files.h"
#include "readings/band_power.h"
#include "readings/confidence.h"
#include "readings/derived_psd.h"
#include "readings/octave_bands.h"
#include "readings/spectrum_readings.h"
#include "readings/tones.h"

#include <vector>

namespace {

// Writes the octave files of the view's quantity when asked; returns their paths.
std::vector<std::string> octave_files(channel_outcome& set, const result_request& request,
                                      const psd_view& view)
{
    const int per_octave = request.readings.octave;
    if (per_octave == 0) return {};
    const std::vector<octave_band> bands = octave_bands(view, per_octave);
    if (!bands.empty()) set.octave_start = bands.front().centre;
    return stage_octave_files(set, request, view, per_octave, bands);
}

// The view of a quantity derived from the record's, over its PSD.
psd_view derived_view(const psd_view& record, const std::vector<double>& psd, int quantity)
{
    psd_view v = record;
    v.psd = psd.data();
    v.quantity = quantity;
    v.english = english_factor(quantity);
    return v;
}

} // namespace

void stage_readings(channel_outcome& set, const result_request& request, const psd_view& view)
{
    const reading_request& asked = request.readings;
    set.readings = read_spectrum(view, asked);
    set.confidence = confidence_90(view.nave);
    octave_files(set, request, view);
    std::vector<std::vector<double>> derived; // the derived PSDs, alive for the table
    derived.reserve(asked.also.size());
    std::vector<psd_view> views = {view};
    reading_request bands_only = asked;
    bands_only.tones = 0;
    const std::vector<tone> every_tone =
        asked.also.empty() ? std::vector<tone>() : find_tones(view, static_cast<int>(view.bins()));
    for (int quantity : asked.also) {
        const int n = integrations(view.quantity, quantity);
        derived.push_back(derived_psd(view, n));
        const psd_view d = derived_view(view, derived.back(), quantity);
        derived_outcome out{quantity, overall_rms(d), read_spectrum(d, bands_only),
                            stage_derived_set(set, request, d)};
        out.readings.tones = derived_tones(every_tone, n, view.english, d.english, asked.tones);
        for (const std::string& path : octave_files(set, request, d)) out.files.push_back(path);
        set.derived.push_back(out);
        views.push_back(d);
    }
    if (asked.table) stage_table(set, request, views);
}
