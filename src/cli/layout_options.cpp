// The options for records of other layouts: --column, --columns all, --rate;
// and --scale, the factor every amplitude is multiplied by.
#include "cli/layout_options.h"
#include "cli/option_values.h"
#include "core/analysis_state.h"
#include "core/script_messages.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

layout_given_state layout_given{};

namespace {

constexpr long highest_column = 1000; // columns a line may be read up to

// The column number an option names, a whole number from 1 to highest_column.
int column_number(const char* option, const char* text)
{
    long n = 0;
    if (!read_whole_number(text, 1, highest_column, n))
        script_exit(2, "%s %s: a column number from 1 to %ld is expected", option, text,
                    highest_column);
    return static_cast<int>(n);
}

// --reference N: it needs every column read.
void check_reference()
{
    if (st.reference != 0 && !layout_given.every_column)
        script_exit(2, "--reference %d: needs --columns all", st.reference);
}

} // namespace

void take_column(const char* text)
{
    st.column = column_number("--column", text);
}

void take_reference(const char* text)
{
    st.reference = column_number("--reference", text);
}

void take_every_column(const char* text)
{
    if (std::strcmp(text, "all") != 0)
        script_exit(2, "--columns %s: only 'all' is known; --column N reads one column", text);
    layout_given.every_column = true;
}

void take_rate(const char* text)
{
    double hz = 0.;
    if (!positive_number(text, hz))
        script_exit(2, "--rate %s: a positive number of samples per second is expected", text);
    st.rate = hz;
}

void take_scale(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const float factor = std::strtof(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(factor) || factor == 0.f)
        script_exit(2, "--scale %s: a finite number other than 0 is expected, in single precision",
                    text);
    st.scale = factor;
}

void check_layout_options()
{
    if (layout_given.every_column && st.column != 0)
        script_exit(2, "--column and --columns all: give one of them");
    if (st.column == 0 && (layout_given.every_column || st.rate > 0.))
        st.column = st.rate > 0. ? 1 : 2;
    check_reference();
}

void check_record_layout(const char* record)
{
    if (st.sound && st.rate > 0.)
        script_exit(2, "--rate: %s is a sound file, whose header gives the rate", record);
    if (!st.sound && st.column == 1 && st.rate == 0.)
        script_exit(2, "--column 1: column 1 is the time; give --rate HZ for a record without one");
    // A text record's reference is an amplitude column, not the time; a sound
    // file's channels are all amplitudes, numbered from 1.
    if (!st.sound && st.reference != 0 && st.reference < st.column)
        script_exit(2, "--reference %d: column 1 is the time; the channels start at column %d",
                    st.reference, st.column);
}

bool every_column_asked()
{
    return layout_given.every_column;
}

void reset_layout_given()
{
    layout_given = layout_given_state{};
}
