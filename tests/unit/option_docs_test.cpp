// The bash completion and the manual's OPTIONS section against the option
// table of the scripted run: every option named in each, nothing else, and the
// completion's samples per segment exactly the accepted powers of two.
#include "cli/command_line.h"
#include "cli/option_values.h"
#include "core/analysis_state.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// The text of a file of the source tree.
std::string source_file(const std::string& path)
{
    std::ifstream in(std::string(ZENTRI_SOURCE_DIR) + "/" + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text from the first `from` on, up to the next `to` after it (or the end).
std::string between(const std::string& text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    if (at == std::string::npos) return "";
    const auto stop = text.find(to, at + from.size());
    return text.substr(at + from.size(),
                       stop == std::string::npos ? stop : stop - at - from.size());
}

// The options a text names: "--name" and "-x", as they appear in it.
std::set<std::string> named_options(const std::string& text)
{
    static const std::regex option("(^|[^-\\w])(--?[A-Za-z][\\w-]*)");
    std::set<std::string> found;
    for (std::sregex_iterator i(text.begin(), text.end(), option), end; i != end; ++i)
        found.insert((*i)[2]);
    return found;
}

// The options of the table, as the completion and the manual write them.
std::set<std::string> table_options()
{
    std::set<std::string> names;
    for (const option_name& o : option_names()) {
        names.insert(std::string("--") + o.name);
        if (o.letter != 0) names.insert(std::string("-") + o.letter);
    }
    return names;
}

// The item lines of the manual's OPTIONS section (the line after each .TP), "\-" as "-".
std::string manual_option_items()
{
    const std::string section = between(source_file("man/zentri.1"), "\n.SH OPTIONS\n", "\n.SH ");
    std::string items;
    for (auto at = section.find(".TP\n"); at != std::string::npos; at = section.find(".TP\n", at)) {
        at += 4;
        items += section.substr(at, section.find('\n', at) - at) + "\n";
    }
    return std::regex_replace(items, std::regex("\\\\-"), "-");
}

TEST(OptionDocs, CompletionAndManualNameEveryOptionOfTheTable)
{
    const std::string completion = source_file("tools/zentri.bash-completion");
    ASSERT_FALSE(completion.empty());
    const std::string offered = between(between(completion, "== -* ]]", "fi\n"), "-W \"", "\"");
    EXPECT_EQ(named_options(offered), table_options()) << "the completion's option list";
    EXPECT_EQ(named_options(manual_option_items()), table_options()) << "the manual's OPTIONS";
    // An option with a value has a branch of its own, so no file name is offered as its value.
    const std::string value_cases = between(completion, "case \"$prev\" in", "esac\n    if");
    for (const option_name& o : option_names()) {
        if (!o.takes_value) continue;
        const std::string pattern = std::string("(^|[\\s|])--") + o.name + "(\\s*[|)])";
        EXPECT_TRUE(std::regex_search(value_cases, std::regex(pattern))) << o.name;
    }
}

TEST(OptionDocs, CompletionOffersEverySegmentLengthAccepted)
{
    const std::string completion = source_file("tools/zentri.bash-completion");
    std::istringstream offered(between(between(completion, "--samples)", "return"), "-W \"", "\""));
    std::string expected;
    for (long m = 2; m <= 65536; m *= 2)
        expected += (expected.empty() ? "" : " ") + std::to_string(m);
    std::string listed;
    for (std::string m; offered >> m;) {
        listed += (listed.empty() ? "" : " ") + m;
        set_segment_length(m.c_str()); // ends the process for a length it refuses
        EXPECT_EQ(std::to_string(st.m), m);
    }
    EXPECT_EQ(listed, expected);
}

} // namespace
