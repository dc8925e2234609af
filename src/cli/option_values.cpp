// The values of the scripted run's options, checked against the quantities table.
#include "cli/option_values.h"
#include "cli/command_line.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "spectrum/transform_pool.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

std::string folded(const char* text)
{
    std::string s;
    for (const char* p = text; *p != '\0'; ++p)
        s += (*p == '-' || *p == '_') ? ' ' : static_cast<char>(std::tolower(*p));
    return s;
}

bool read_whole_number(const char* text, long lowest, long highest, long& n)
{
    char* end = nullptr;
    errno = 0;
    n = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && n >= lowest && n <= highest;
}

namespace {

// The number 1..last that text spells exactly, or 0.
int menu_number(const char* text, int last)
{
    for (int i = 1; i <= last; ++i)
        if (std::to_string(i) == text) return i;
    return 0;
}

// The quantity's units for a message: "G or m/sec^2".
std::string unit_list(int type)
{
    std::string s;
    const int n = unit_count(type);
    for (int u = 1; u <= n; ++u)
        s += std::string(u == 1 ? "" : u == n ? " or " : ", ") + unit_label(type, u);
    return s;
}

// Whether the folded text is one of the '|'-separated spellings.
bool spelled(const std::string& spellings, const std::string& f)
{
    for (std::size_t at = 0; at <= spellings.size();) {
        const std::size_t end = std::min(spellings.find('|', at), spellings.size());
        if (end > at && spellings.compare(at, end - at, f) == 0) return true;
        at = end + 1;
    }
    return false;
}

// Unit code of text for the run's quantity, or 0 when it names none of its units.
int unit_code(int type, const char* text)
{
    const std::string f = folded(text);
    const int n = unit_count(type);
    for (int u = 1; u <= n; ++u)
        if (f == folded(unit_label(type, u))) return u;
    for (int u = 1; u <= n; ++u)
        if (spelled(unit_of(type, u)->spellings, f)) return u;
    return menu_number(text, n);
}

// Sets input_unit from -u, or ends with a usage error.
void resolve_unit()
{
    const int type = st.input_type;
    if (type == volts) {
        const std::string f = folded(opts.unit.c_str());
        const unit_row* v = unit_of(volts, 1);
        if (!opts.unit.empty() && f != folded(v->label) && !spelled(v->spellings, f))
            script_exit(2, "-u %s: volts takes no unit", opts.unit.c_str());
        return;
    }
    if (opts.unit.empty())
        script_exit(2, "-u is required for %s: %s", quantity_name(type), unit_list(type).c_str());
    st.input_unit = unit_code(type, opts.unit.c_str());
    if (st.input_unit == 0)
        script_exit(2, "-u %s: not a unit of %s; use %s", opts.unit.c_str(), quantity_name(type),
                    unit_list(type).c_str());
}

} // namespace

int quantity_code(const char* text)
{
    const std::string f = folded(text);
    for (int q = 1; q <= volts; ++q)
        if (f == quantity_name(q)) return q;
    const int q = menu_number(text, volts);
    if (q == 0)
        script_exit(2,
                    "-q %s: not a quantity; use acceleration, velocity, displacement, force,"
                    " pressure or volts (or 1 to 6)",
                    text);
    return q;
}

int window_code(const char* text)
{
    const std::string f = folded(text);
    if (f == "hanning" || f == "hann" || f == "2") return hanning_window;
    if (f == "rectangular" || f == "rect" || f == "1") return rectangular_window;
    script_exit(2, "-w %s: the window must be hanning or rectangular", text);
}

void set_segment_length(const char* text)
{
    for (std::uint32_t i = 1; i <= 16; ++i) {
        if (std::to_string(1u << i) != text) continue;
        st.m = 1u << i;
        st.nhs = st.m / 2;
        st.nstages = i;
        return;
    }
    script_exit(2, "-m %s: the samples per segment must be a power of two from 2 to 65536", text);
}

void set_thread_count(const char* text)
{
    constexpr long max_threads = 256; // more threads than any machine's cores only cost memory
    long n = 0;
    if (!read_whole_number(text, 1, max_threads, n))
        script_exit(2, "--threads %s: the threads must be a whole number from 1 to %ld", text,
                    max_threads);
    set_transform_threads(static_cast<int>(n));
}

bool positive_number(const char* text, double& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && value > 0. && std::isfinite(value);
}

void refuse_with_survey(const char* option)
{
    if (option != nullptr && opts.survey_only)
        script_exit(2, "%s: --survey prints the survey only; run without it for these results",
                    option);
}

void check_choices()
{
    if (opts.survey_only) return;
    if (st.input_type == 0)
        script_exit(2, "-q is required: acceleration, velocity, displacement, force, pressure or"
                       " volts");
    resolve_unit();
    if (!opts.samples_given)
        script_exit(2,
                    "-m is required: a power of two from 2 to 65536; 'zentri --survey %s'"
                    " lists the choices",
                    opts.record.c_str());
}
