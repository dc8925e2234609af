// Writing the full-precision table of every file's values.
#include "output/spectrum_table.h"
#include "output/file_sets.h"
#include "output/spectrum_writers.h"
#include "platform/console_format.h"
#include "platform/shortest_number.h"

#include <string>

namespace {

// The header line: "frequency (Hz)" and "NAME (UNIT)" for every file of every view.
std::string header(const std::vector<psd_view>& views)
{
    std::string line = "frequency (Hz)";
    for (const psd_view& v : views) {
        const file_set& set = file_set_of(v.quantity);
        for (int i = 0; i < set.count; ++i)
            line += std::string(",") + set.files[i].name + " (" +
                    file_unit(v.quantity, set.files[i]) + ")";
    }
    return line + "\n";
}

// The row of bin k: its frequency and every file's value.
std::string row(const std::vector<psd_view>& views, std::uint32_t k)
{
    const psd_view& first = views.front();
    std::string line = shortest_text(k == 0 ? 0. : k * first.df);
    for (const psd_view& v : views) {
        const file_set& set = file_set_of(v.quantity);
        for (int i = 0; i < set.count; ++i)
            line += "," + shortest_text(file_value(v, set.files[i], k));
    }
    return line + "\n";
}

} // namespace

bool write_spectrum_table(std::FILE* f, const std::vector<psd_view>& views)
{
    bool ok = zfprint(f, "%s", header(views).c_str());
    for (std::uint32_t k = 0; k < views.front().bins() && ok; ++k)
        ok = zfprint(f, "%s", row(views, k).c_str());
    return ok;
}
