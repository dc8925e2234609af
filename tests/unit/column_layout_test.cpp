// Records in the layouts of data loggers, read by the column reader, against
// the same samples written as a plain two-column record: the survey's and the
// segment loop's console text, df, nave and the accumulated power must be the
// same to the bit, channel by channel.
#include "input/record_format.h"
#include "input/survey_record.h"
#include "spectrum/channel_store.h"
#include "state_fixture.h"
#include "run/segment_loop.h"
#include "run/channel_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int samples = 300;

// Field k of sample i as text: time i/1024 for k 0, else a channel's amplitude.
std::string field(int i, int k)
{
    char text[40];
    if (k == 0)
        std::snprintf(text, sizeof text, "%.6f", i / 1024.);
    else
        std::snprintf(text, sizeof text, "%.7g", k * std::sin(i * 0.3 / k) + 0.1 * k);
    return text;
}

// One line per sample: the given fields joined by sep, after a header.
std::string layout(const std::string& header, const std::vector<int>& fields, const char* sep,
                   const char* line_end = "\n")
{
    std::string text = header;
    for (int i = 0; i < samples; ++i) {
        for (std::size_t k = 0; k < fields.size(); ++k)
            text += (k == 0 ? "" : sep) + field(i, fields[k]);
        text += line_end;
    }
    return text;
}

// What a run leaves: its console text, df, nave and each channel's power.
struct layout_run {
    std::string console;
    double df;
    unsigned nave;
    std::vector<std::vector<double>> psd;
};

// Surveys the record and runs the segment loop, 64-sample Hanning segments in G.
layout_run run_of(const std::string& record, int column = 0, double rate = 0., int channels = 0)
{
    reset_state();
    st.column = column;
    st.rate = rate;
    st.channels = channels;
    st.m = 64;
    st.nhs = 32;
    st.nstages = 6;
    st.status = 1;
    st.input_type = st.input_unit = st.mean_choice = 1;
    st.window_choice = 2;
    open_record_text(record);
    layout_run r{console_of([] {
                     survey_record();
                     rewind_record();
                     st.channels > 0 ? channel_segment_loop() : segment_loop();
                 }),
                 st.df,
                 st.nave,
                 {}};
    for (int c = 0; c < std::max(channels, 1); ++c) {
        if (channels > 0) select_channel_results(c);
        r.psd.emplace_back(st.psd, st.psd + st.m);
    }
    close_record();
    return r;
}

TEST(ColumnLayout, EachLayoutReadsAsItsTwoColumnRecord)
{
    // Amplitudes alone, the first negative, with more digits than the quick path
    // takes; and as pairs, times i/1024 written to give back the same doubles.
    std::string alone, rated;
    char t[40], a[48];
    for (int i = 0; i < samples; ++i) {
        std::snprintf(t, sizeof t, "%.17g ", i / 1024.);
        std::snprintf(a, sizeof a, "%.21f\n", std::sin(i * 0.3) - 0.5);
        alone += a;
        rated += t + std::string(a);
    }
    const struct {
        const char* what;
        std::string record;
        int column;
        double rate;
        int channels;
        std::vector<std::string> plain; // two-column records, one per channel
    } cases[] = {
        {"CSV with a header",
         layout("Time,Accel X,Accel Y\n", {0, 1, 2}, ","),
         2,
         0.,
         0,
         {layout("", {0, 1}, " ")}},
        {"semicolons, CRLF", layout("", {0, 2}, ";", "\r\n"), 2, 0., 0, {layout("", {0, 2}, " ")}},
        {"tabs, column 3",
         layout("t\tx\ty\n", {0, 1, 2}, "\t"),
         3,
         0.,
         0,
         {layout("", {0, 2}, " ")}},
        {"# and % comments, blanks",
         layout("# logger 7\n%  g\n\n", {0, 3}, "   "),
         2,
         0.,
         0,
         {layout("", {0, 3}, " ")}},
        {"amplitudes alone at a rate", alone, 1, 1024., 0, {rated}},
        {"three channels at once",
         layout("Time;X;Y;Z\n", {0, 1, 2, 3}, ";"),
         2,
         0.,
         3,
         {layout("", {0, 1}, " "), layout("", {0, 2}, " "), layout("", {0, 3}, " ")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const layout_run got = run_of(c.record, c.column, c.rate, c.channels);
        ASSERT_EQ(got.psd.size(), c.plain.size());
        for (std::size_t k = 0; k < c.plain.size(); ++k) {
            const layout_run want = run_of(c.plain[k]);
            if (c.channels == 0) {
                EXPECT_EQ(got.console, want.console);
            }
            EXPECT_EQ(got.df, want.df);
            EXPECT_EQ(got.nave, want.nave);
            EXPECT_EQ(got.psd[k], want.psd[0]) << "channel " << k;
        }
    }
}

} // namespace
