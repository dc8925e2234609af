// Reading a test profile's breakpoints and settling the values of its slopes.
#include "input/profile_file.h"
#include "platform/console_format.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One breakpoint line as written: a value, or a slope whose value comes from a neighbour.
struct written_point {
    int line;         // line number in the file, from 1
    double frequency; // Hz
    double number;    // the value, or the slope in dB/octave
    bool slope;       // number is a slope
};

constexpr char slope_unit[] = "db/oct"; // compared in lower case
constexpr std::size_t slope_unit_length = sizeof slope_unit - 1;
constexpr std::size_t max_line_bytes = 4096;   // the longest line a profile may have
constexpr std::size_t max_breakpoints = 10000; // the most breakpoints a profile may have
constexpr char utf8_bom[] = "\xef\xbb\xbf";    // skipped at the start of the file
constexpr double lowest_value = 1e-30;         // the smallest breakpoint value taken
constexpr double highest_value = 1e30;         // the largest breakpoint value taken

// The whole text as one finite number, or false.
bool whole_number(const std::string& text, double& v)
{
    if (text.empty()) return false;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(v);
}

// Whether text ends with "dB/oct", in any case.
bool ends_in_slope_unit(const std::string& text)
{
    if (text.size() < slope_unit_length) return false;
    const std::size_t from = text.size() - slope_unit_length;
    for (std::size_t i = 0; i < slope_unit_length; ++i)
        if (std::tolower(static_cast<unsigned char>(text[from + i])) != slope_unit[i]) return false;
    return true;
}

// The blank-separated words of a line, its comment cut off.
std::vector<std::string> words_of(const std::string& line)
{
    std::istringstream in(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Reads the words of a line into p: "FREQ VALUE", "FREQ SLOPE dB/oct" or
// "FREQ SLOPEdB/oct"; false when they are none of these.
bool read_point(const std::vector<std::string>& w, written_point& p)
{
    if (w.size() < 2 || w.size() > 3 || !whole_number(w[0], p.frequency)) return false;
    if (w.size() == 3) {
        p.slope = true;
        return w[2].size() == slope_unit_length && ends_in_slope_unit(w[2]) &&
               whole_number(w[1], p.number);
    }
    p.slope = ends_in_slope_unit(w[1]);
    const std::size_t cut = p.slope ? slope_unit_length : 0;
    return whole_number(w[1].substr(0, w[1].size() - cut), p.number);
}

// A message formed through the program's formatter.
std::string message(const char* fmt, double a, double b = 0., double c = 0.)
{
    char text[200];
    zsprint(text, sizeof text, fmt, a, b, c);
    return text;
}

// Whether a breakpoint's value lies within the range a profile may use.
bool in_value_range(double v)
{
    return v >= lowest_value && v <= highest_value;
}

// What is wrong with the breakpoint of a line after those before, or "".
std::string point_fault(const std::vector<std::string>& w, written_point& p,
                        const std::vector<written_point>& before)
{
    if (!read_point(w, p)) return "not a breakpoint; write FREQ VALUE or FREQ SLOPE dB/oct";
    if (!(p.frequency > 0.)) return message("the frequency %g Hz must be above 0", p.frequency);
    if (!p.slope && !(p.number > 0.))
        return message("the value %g must be above 0 (a PSD, unit^2/Hz)", p.number);
    if (!p.slope && !in_value_range(p.number))
        return message("the value %g is outside %g to %g (a PSD, unit^2/Hz)", p.number,
                       lowest_value, highest_value);
    if (!before.empty() && !(p.frequency > before.back().frequency))
        return message("%g Hz does not follow %g Hz; the frequencies must increase", p.frequency,
                       before.back().frequency);
    return "";
}

// The breakpoints with every slope turned into the value it gives its line,
// from the value at the other end of its segment.
profile_reading settle_slopes(const std::vector<written_point>& w, double decibels)
{
    profile_reading r{{}, 0, ""};
    for (std::size_t i = 0; i < w.size(); ++i) {
        const std::size_t other = i == 0 ? 1 : i - 1;
        double value = w[i].number;
        if (w[i].slope) {
            if (w[other].slope) {
                const std::size_t lo = std::min(i, other), hi = std::max(i, other);
                return {{},
                        w[hi].line,
                        message("the segment from %g to %g Hz has a slope at both ends; give one"
                                " end a value",
                                w[lo].frequency, w[hi].frequency)};
            }
            const double octaves = std::log2(w[i].frequency / w[other].frequency);
            value = w[other].number * std::pow(10., w[i].number * octaves / decibels);
            if (!in_value_range(value))
                return {{},
                        w[i].line,
                        message("the slope %g dB/oct gives a value out of range", w[i].number)};
        }
        r.points.push_back({w[i].frequency, value});
    }
    return r;
}

// The profile read so far, a line at a time, so that neither a long line nor
// a long file takes more memory than its bounds.
struct profile_lines {
    std::vector<written_point> written; // the breakpoints so far
    std::string pending;                // the line being gathered, at most max_line_bytes
    int line = 0;                       // lines taken whole
    profile_reading fault{{}, 0, ""};   // the first fault, when error is not empty
    double decibels = 10.;              // dB of a factor of ten: 10 for a PSD, 20 for an amplitude
};

// Takes one whole line of the file; notes the first fault.
void take_line(profile_lines& r, std::string text)
{
    ++r.line;
    if (r.line == 1 && text.rfind(utf8_bom, 0) == 0) text.erase(0, sizeof utf8_bom - 1);
    const std::vector<std::string> w = words_of(text);
    if (w.empty()) return;
    written_point p{r.line, 0., 0., false};
    std::string fault = point_fault(w, p, r.written);
    if (fault.empty() && r.written.size() == max_breakpoints)
        fault = message("more than %g breakpoints; a profile holds at most %g",
                        static_cast<double>(max_breakpoints), static_cast<double>(max_breakpoints));
    if (fault.empty())
        r.written.push_back(p);
    else
        r.fault = {{}, r.line, fault};
}

// Takes the next n bytes of the file, line by line, until a fault.
void take_bytes(profile_lines& r, const char* bytes, std::size_t n)
{
    for (std::size_t at = 0; at < n && r.fault.error.empty();) {
        const char* end = static_cast<const char*>(std::memchr(bytes + at, '\n', n - at));
        const std::size_t to = end == nullptr ? n : static_cast<std::size_t>(end - bytes);
        r.pending.append(bytes + at, std::min(to - at, max_line_bytes + 1 - r.pending.size()));
        at = to + 1;
        if (r.pending.size() > max_line_bytes)
            r.fault = {{},
                       r.line + 1,
                       message("the line is longer than %g bytes, the most a profile line may hold",
                               static_cast<double>(max_line_bytes))};
        else if (end != nullptr) {
            take_line(r, r.pending);
            r.pending.clear();
        }
    }
}

// The profile once every byte was taken: the breakpoints settled, or the fault.
profile_reading finish(profile_lines& r)
{
    if (r.fault.error.empty() && !r.pending.empty()) take_line(r, r.pending);
    if (!r.fault.error.empty()) return r.fault;
    if (r.written.size() < 2)
        return {{},
                std::max(r.line, 1),
                message("a profile needs at least two breakpoints; the file has %g",
                        static_cast<double>(r.written.size()))};
    return settle_slopes(r.written, r.decibels);
}

} // namespace

profile_reading read_profile_text(const std::string& text, double decibels)
{
    profile_lines r;
    r.decibels = decibels;
    take_bytes(r, text.data(), text.size());
    return finish(r);
}

profile_reading read_profile_file(const std::string& path, double decibels)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return {{}, 0, std::strerror(errno)};
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return {{}, 0, "not a regular file"};
    }
    profile_lines r;
    r.decibels = decibels;
    char block[4096];
    ssize_t got = 0;
    while (r.fault.error.empty() && (got = read(fd, block, sizeof block)) > 0)
        take_bytes(r, block, static_cast<std::size_t>(got));
    const int error = errno;
    close(fd);
    if (got < 0) return {{}, 0, std::strerror(error)};
    return finish(r);
}
