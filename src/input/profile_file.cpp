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
std::string message(const char* fmt, double a, double b = 0.)
{
    char text[200];
    zsprint(text, sizeof text, fmt, a, b);
    return text;
}

// What is wrong with the breakpoint of a line after those before, or "".
std::string point_fault(const std::vector<std::string>& w, written_point& p,
                        const std::vector<written_point>& before)
{
    if (!read_point(w, p)) return "not a breakpoint; write FREQ VALUE or FREQ SLOPE dB/oct";
    if (!(p.frequency > 0.)) return message("the frequency %g Hz must be above 0", p.frequency);
    if (!p.slope && !(p.number > 0.))
        return message("the value %g must be above 0 (a PSD, unit^2/Hz)", p.number);
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
            if (!(value > 0.) || !std::isfinite(value))
                return {{},
                        w[i].line,
                        message("the slope %g dB/oct gives a value out of range", w[i].number)};
        }
        r.points.push_back({w[i].frequency, value});
    }
    return r;
}

} // namespace

profile_reading read_profile_text(const std::string& text, double decibels)
{
    std::vector<written_point> written;
    int line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::vector<std::string> w = words_of(text.substr(at, end - at));
        at = end + 1;
        if (w.empty()) continue;
        written_point p{line + 1, 0., 0., false};
        const std::string fault = point_fault(w, p, written);
        if (!fault.empty()) return {{}, line + 1, fault};
        written.push_back(p);
    }
    if (written.size() < 2)
        return {{},
                std::max(line, 1),
                message("a profile needs at least two breakpoints; the file has %g",
                        static_cast<double>(written.size()))};
    return settle_slopes(written, decibels);
}

profile_reading read_profile_file(const std::string& path, double decibels)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return {{}, 0, std::strerror(errno)};
    struct stat info {};
    std::string text;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return {{}, 0, "not a regular file"};
    }
    char block[4096];
    ssize_t got = 0;
    while ((got = read(fd, block, sizeof block)) > 0)
        text.append(block, static_cast<std::size_t>(got));
    const int error = errno;
    close(fd);
    if (got < 0) return {{}, 0, std::strerror(error)};
    return read_profile_text(text, decibels);
}
