// Names, contents and rows of the octave files.
#include "output/octave_files.h"
#include "core/quantities.h"
#include "platform/console_format.h"

#include <cmath>

std::string octave_file_name(const std::string& psd_name, int bands_per_octave)
{
    const std::size_t dot = psd_name.rfind(".psd");
    return psd_name.substr(0, dot) + ".oct" + std::to_string(bands_per_octave);
}

std::string octave_content(int bands_per_octave)
{
    const std::string fraction =
        bands_per_octave == 1 ? "octave" : "1/" + std::to_string(bands_per_octave) + "-octave";
    return fraction + " bands: centre (Hz), band PSD, band rms";
}

std::string octave_units(int input_type, const result_file& psd_file)
{
    return "Hz, " + file_unit(input_type, psd_file) + ", " + unit_label(input_type, psd_file.unit);
}

bool write_octave_rows(std::FILE* f, const std::vector<octave_band>& bands, double factor)
{
    bool ok = true;
    for (const octave_band& b : bands) {
        const double mean_square = b.mean_square * (factor * factor);
        ok = zfprint(f, "%10.4e %10.4e %10.4e \n", b.centre, mean_square / (b.upper - b.lower),
                     std::sqrt(mean_square)) &&
             ok;
    }
    return ok;
}
