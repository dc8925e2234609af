// The console dialogue of the built program, answered through piped standard input.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string file_prompt =
    "\n The input file must have two columns:  time(sec) & amplitude \n Enter input filename\n";
const std::string opened = " File: rec.txt opened. \n";
const std::string quantity_menu =
    "\n\n Specify Input File Type: "
    "\n 1=acceleration  2=velocity  3=displacement  4=force  5=pressure  6=volts \n";
const std::string unit_prompt = "\n\n Select Input Unit: ";
const std::string length_prompt = "\n Enter samples per segment value from third column. \n ";
const std::string illegal = "\n Error: illegal n value.  n must be 2^i, where i is an integer.";
const std::string maximum = "\n maximum allowed value is 65536 ";
const std::string choices = "\n Mean removal? \n 1=yes 2=no \n"
                            "\n Enter window type \n 1=rectangular  2=Hanning \n\n";

// A scratch folder holding rec.txt, a record of the given number of pairs.
struct session {
    scratch_dir dir;
    explicit session(long pairs = 64) { dir.write("rec.txt", even_record(pairs, 3)); }
    program_run run(const std::string& answers) { return run_zentri(dir, answers, 60); }
};

TEST(Dialogue, BannerAndQuestionsInOrder)
{
    session s;
    const program_run r = s.run("rec.txt\n1\n2\n8\n2\n1\n");
    const std::string banner = "\n\n\n\n\n\n\n\n zentri  ver 3.2 \n February 9, 2005\n";
    ASSERT_EQ(r.console.compare(0, banner.size(), banner), 0) << r.console.substr(0, 80);
    const auto after_banner = r.console.find(file_prompt);
    ASSERT_NE(after_banner, std::string::npos);
    EXPECT_EQ(count_lines(r.console.substr(banner.size(), after_banner - banner.size())), 2)
        << "an author line and a contact line";
    const std::string questions =
        file_prompt + opened + quantity_menu + unit_prompt + "\n 1=G  2=m/sec^2 \n";
    EXPECT_EQ(r.console.substr(after_banner, questions.size()), questions);
    EXPECT_NE(r.console.find(length_prompt + choices), std::string::npos);
    EXPECT_TRUE(ends_with(r.console, "\n\n Please call the output files into your own plotting "
                                     "program. \n\n Press any key to exit."));
    EXPECT_EQ(r.exit_status, 1);
}

TEST(Dialogue, EveryUnitMenu)
{
    const char* menus[] = {"\n 1=G  2=m/sec^2 \n", "\n 1=in/sec  2=m/sec \n",
                           "\n 1=inch  2=Mils   3=micro inches  4=meters   5=mm  6=microns \n",
                           "\n 1=lbf  2=Newtons \n", "\n 1=psi  2=Pa \n"};
    for (int q = 1; q <= 5; ++q) {
        session s;
        const program_run r = s.run("rec.txt\n" + std::to_string(q) + "\n");
        EXPECT_TRUE(ends_with(r.console, quantity_menu + unit_prompt + menus[q - 1] + input_error))
            << "quantity " << q;
    }
}

TEST(Dialogue, AnswersOutsideAMenuEndTheRun)
{
    // answers, and the text the console must end with
    const std::pair<const char*, std::string> cases[] = {
        {"rec.txt\n7\n", quantity_menu + input_error},
        {"rec.txt\n0\n", quantity_menu + input_error},
        {"rec.txt\n4294967297\n", quantity_menu + input_error}, // 2^32 + 1 is not 1
        {"rec.txt\n1\n3\n", "\n 1=G  2=m/sec^2 \n" + input_error},
        {"rec.txt\n3\n7\n", "6=microns \n" + input_error},
        {"rec.txt\n5\n0\n", "\n 1=psi  2=Pa \n" + input_error},
    };
    for (const auto& c : cases) {
        session s;
        const program_run r = s.run(c.first);
        EXPECT_TRUE(ends_with(r.console, c.second)) << c.first << r.console;
        EXPECT_EQ(r.exit_status, 1) << c.first;
        EXPECT_EQ(s.dir.names(), std::vector<std::string>{"rec.txt"});
    }
}

TEST(Dialogue, AcceptedQuantitiesGoOnToTheSurvey)
{
    session s;
    program_run r = s.run("rec.txt\n3\n6\n");
    EXPECT_NE(r.console.find("6=microns \n\n time 0.000000 to 0.063000 sec"), std::string::npos);

    r = s.run("rec.txt\n6\n");
    EXPECT_EQ(r.console.find(unit_prompt), std::string::npos) << "volts asks no unit";
    EXPECT_NE(r.console.find(quantity_menu + "\n time 0.000000"), std::string::npos);
}

TEST(Dialogue, SegmentLengthAnswers)
{
    // answers to the length question; illegal, maximum and record-length messages expected
    const struct {
        const char* answers;
        int illegal, maximum, refused;
    } cases[] = {
        {"1000\n1024\n", 1, 0, 0},
        {"131072\n1024\n", 1, 1, 0},
        {"-5\n1024\n", 1, 1, 0},
        {"4294968320\n1024\n", 1, 1, 0},
        {"abc\n512\n", 1, 0, 0},
        {"131072\nabc\n512\n", 2, 2, 0},
        {"2\n", 0, 0, 0},
        {"2048\n", 0, 0, 0},
        {"65536\n4096\n2048\n", 0, 0, 2},
        {"1024abc\n1024\n", 1, 0, 0},
    };
    for (const auto& c : cases) {
        session s(2048);
        const program_run r = s.run(std::string("rec.txt\n1\n1\n") + c.answers + "1\n2\n");
        SCOPED_TRACE(c.answers);
        EXPECT_EQ(occurrences(r.console, illegal), c.illegal);
        EXPECT_EQ(occurrences(r.console, maximum), c.maximum);
        EXPECT_EQ(occurrences(r.console, "\n The record holds only 2048 pairs; choose a value from "
                                         "the third column. "),
                  c.refused);
        EXPECT_EQ(occurrences(r.console, length_prompt), c.illegal + c.refused + 1);
        EXPECT_NE(r.console.find(length_prompt + choices), std::string::npos);
        EXPECT_EQ(r.exit_status, 1);
    }
}

// The longest name that fits, 259 characters, is taken as typed. (Longer names,
// missing files and folders are in the bad-input matrix.)
TEST(Dialogue, LongestFileNameIsTakenAsTyped)
{
    session s;
    const std::string longest = "dddd/" + std::string(250, 'b') + ".txt";
    ASSERT_EQ(longest.size(), 259u);
    ASSERT_EQ(mkdir(s.dir.file("dddd").c_str(), 0755), 0);
    s.dir.write(longest, even_record(64, 3));
    const program_run r = s.run(longest + "\n6\n");
    EXPECT_TRUE(holds(r.console, " File: " + longest + " opened. \n")) << r.console;
}

// The name is the whole answer line, blanks inside kept, blanks around it and a CR dropped.
TEST(Dialogue, FileNameWithBlanksIsTheWholeLine)
{
    session s;
    s.dir.write("my record.txt", even_record(64, 3));
    const program_run r = s.run("  my record.txt \r\n6\n8\n1\n1\n");
    EXPECT_TRUE(holds(r.console, " File: my record.txt opened. \n")) << r.console;
    EXPECT_TRUE(holds(r.console, "\n nave = 15 ")) << r.console;
}

// The record is cut, or grows, while the dialogue waits for m (the shell
// command runs once the question is asked): the segment pass reads the pairs
// the survey counted, or ends the run before any file is written.
TEST(Dialogue, RecordChangedWhileTheDialogueWaits)
{
    const auto run_changing = [](session& s, const std::string& change) {
        const std::string waits = "i=0; until grep -qs 'Enter samples' .out || [ $i -gt 600 ];"
                                  " do sleep 0.05; i=$((i+1)); done; "; // 30 s at most
        const std::string answers =
            "( printf 'rec.txt\\n1\\n1\\n'; " + waits + change + "; printf '1024\\n1\\n1\\n' )";
        const std::string script = "cd '" + s.dir.path() + "' && " + answers + " | timeout 60 '" +
                                   zentri_binary() + "' > .out; echo $? > .rc";
        program_run r{"", std::system(script.c_str())};
        r.console = s.dir.read(".out");
        r.exit_status = std::stoi(s.dir.read(".rc"));
        std::remove(s.dir.file(".out").c_str());
        std::remove(s.dir.file(".rc").c_str());
        return r;
    };
    session cut(10000), grown(10000), same(10000);
    const program_run c = run_changing(cut, "head -n 3000 rec.txt > p; cat p > rec.txt; rm p");
    EXPECT_EQ(c.exit_status, 1);
    EXPECT_TRUE(ends_with(c.console, "\n\n Error: the record changed while it was read: 10000 pairs"
                                     " were counted, 3000 could be read again. "));
    EXPECT_EQ(cut.dir.names(), std::vector<std::string>{"rec.txt"});
    const program_run g = run_changing(grown, "cat rec.txt > p; cat p >> rec.txt; rm p");
    EXPECT_TRUE(holds(g.console, "\n   ns=272  nhs=512 \n Warning: the record grew while it was"
                                 " read; the 10000 pairs counted are used. \n"));
    same.run("rec.txt\n1\n1\n1024\n1\n1\n");
    EXPECT_TRUE(grown.dir.read("A_G2Hz.psd") == same.dir.read("A_G2Hz.psd"));
}

} // namespace
