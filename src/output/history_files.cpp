// Writing the time history's files of a set, their names and table rows, and
// the statistics and stationarity of the summary.
#include "output/history_files.h"
#include "core/quantities.h"
#include "output/file_sets.h"
#include "output/reading_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"

#include <deque>
#include <memory>

namespace {

// The stem of the histogram and running files of quantities 1..6, in the first unit.
const char* const stems[volts] = {"A_G", "V_ips", "D_in", "F_lbf", "P_psi", "V_V"};

// The extension and what each kind's files hold.
struct kind_text {
    const char* extension; // ".hist"
    const char* holds;     // its content in the table and the summary
};

// The text of each kind, in the order of history_kind.
const kind_text kind_texts[] = {
    {".hist", "histogram: bin centre, count, probability density, Gaussian density"},
    {".run", "running figures: window start (sec), rms, peak, crest factor, kurtosis"},
    {".sgram", "spectrogram: frame start (sec), frequency (Hz), PSD"},
    {".max", "max-hold PSD"},
    {".min", "min-hold PSD"},
};

// The text of a kind.
const kind_text& text_of(history_kind kind)
{
    return kind_texts[static_cast<int>(kind)];
}

// Whether the kind's files stand beside the PSD files, one per PSD file.
bool spectral(history_kind kind)
{
    return kind != history_kind::histogram && kind != history_kind::running;
}

// The i-th PSD file of the quantity's set.
const result_file& psd_file(int quantity, std::size_t i)
{
    return file_set_of(quantity).files[i];
}

// The unit (or units of the columns) of the i-th file of a kind of the quantity.
std::string kind_unit(int quantity, history_kind kind, std::size_t i)
{
    const std::string u = unit_label(quantity, 1);
    if (kind == history_kind::histogram) return u + ", count, 1/" + u + ", 1/" + u;
    if (kind == history_kind::running) return "sec, " + u + ", " + u + ", 1, 1";
    return file_unit(quantity, psd_file(quantity, i));
}

// The picture label of the i-th file of a kind of the quantity.
std::string kind_label(int quantity, history_kind kind, std::size_t i)
{
    std::string u = unit_label(quantity, 1);
    if (kind == history_kind::histogram) return "probability density (1/" + u + ")";
    if (kind == history_kind::running) return u;
    return plot_label(psd_file(quantity, i));
}

// Keeps the file's mark: written is false once a row could not be written.
void keep(history_file& file, bool written)
{
    file.ok = written;
}

} // namespace

std::vector<std::string> history_file_names(int quantity, history_kind kind)
{
    const char* extension = text_of(kind).extension;
    if (!spectral(kind)) return {std::string(stems[quantity - 1]) + extension};
    std::vector<std::string> names;
    const file_set& set = file_set_of(quantity);
    for (int i = 0; i < set.count && set.files[i].content == file_content::psd; ++i) {
        const std::string psd = set.files[i].name;
        names.push_back(psd.substr(0, psd.rfind('.')) + extension);
    }
    return names;
}

bool history_file_english(int quantity, std::size_t i)
{
    return unit_of(quantity, psd_file(quantity, i).unit)->english;
}

history_file open_history_file(channel_outcome& set, const result_request& request,
                               const std::string& name, history_kind kind, int quantity)
{
    const std::vector<std::string> names = history_file_names(quantity, kind);
    std::size_t i = 0;
    while (i + 1 < names.size() && names[i] != name) ++i;
    const std::string path = path_in(set.folder, name);
    std::FILE* f =
        stage_listed(set, request, {path, text_of(kind).holds, kind_unit(quantity, kind, i)});
    return {f, path, true};
}

void write_histogram_rows(history_file& file, const std::vector<histogram_row>& rows, double factor)
{
    for (const histogram_row& r : rows)
        keep(file, file.ok && zfprint(file.f, "%10.4e %lu %10.4e %10.4e \n", r.centre * factor,
                                      static_cast<unsigned long>(r.count), r.density / factor,
                                      r.gaussian / factor));
}

void write_running_row(history_file& file, double time, const running_window& w, double factor)
{
    keep(file, file.ok && zfprint(file.f, "%10.4e %10.4e %10.4e %10.4e %10.4e \n", time,
                                  w.rms * factor, w.peak * factor, w.crest_factor, w.kurtosis));
}

void write_spectrum_rows(history_file& file, const double* psd, std::uint32_t bins, double df,
                         double factor, const double* frame_time)
{
    for (std::uint32_t k = 0; k < bins; ++k) {
        const double f = k * df;
        if (frame_time != nullptr)
            keep(file, file.ok && zfprint(file.f, "%10.4e %10.4e %10.4e \n", *frame_time, f,
                                          factor * psd[k]));
        else
            keep(file, file.ok && zfprint(file.f, "%10.4e %10.4e \n", f, factor * psd[k]));
    }
    if (frame_time != nullptr) keep(file, file.ok && zfprint(file.f, "\n"));
}

void close_history_file(history_file& file)
{
    close_listed(file.f, file.ok, file.path);
    file.f = nullptr;
}

const std::vector<reading_file>& history_reading_files()
{
    // The rows' strings live in a deque, whose elements never move, beside the rows.
    struct history_table {
        std::deque<std::string> texts;  // the rows' names, units and labels
        std::vector<reading_file> rows; // the time history's reading files
    };
    static const std::unique_ptr<const history_table> table = [] {
        auto t = std::make_unique<history_table>();
        const history_kind kinds[] = {history_kind::histogram, history_kind::running,
                                      history_kind::spectrogram, history_kind::max_hold,
                                      history_kind::min_hold};
        for (int q = 1; q <= volts; ++q)
            for (history_kind kind : kinds) {
                const std::vector<std::string> names = history_file_names(q, kind);
                for (std::size_t i = 0; i < names.size(); ++i) {
                    const char* name = t->texts.emplace_back(names[i]).c_str();
                    const char* unit = t->texts.emplace_back(kind_unit(q, kind, i)).c_str();
                    const char* label = t->texts.emplace_back(kind_label(q, kind, i)).c_str();
                    t->rows.push_back({q, name, text_of(kind).holds, unit, label});
                }
            }
        return std::unique_ptr<const history_table>(std::move(t));
    }();
    return table->rows;
}

void add_history_summary(nlohmann::ordered_json& summary, const channel_outcome& set)
{
    const history_outcome& h = set.history;
    if (!h.computed) return;
    const record_statistics& s = h.statistics;
    summary["results"]["statistics"] = {{"minimum", s.minimum},
                                        {"maximum", s.maximum},
                                        {"peak", s.peak},
                                        {"peak_time", h.peak_time},
                                        {"crest_factor", s.crest_factor},
                                        {"skewness", s.skewness},
                                        {"kurtosis", s.kurtosis},
                                        {"unit", h.unit},
                                        {"samples", s.samples},
                                        {"clipped_samples", s.clipped}};
    const stationarity_result& r = h.stationarity;
    if (!r.tested) return;
    summary["results"]["stationarity"] = {{"arrangements", r.arrangements},
                                          {"lower", r.lower},
                                          {"upper", r.upper},
                                          {"segments", r.segments},
                                          {"stationary", r.stationary}};
}
