// The dialogue's questions for the segment length, mean removal and window.
#include "console_text.h"
#include "state_fixture.h"
#include "run/segment_length_dialogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string prompt = "\n Enter samples per segment value from third column. \n ";
const std::string illegal = "\n Error: illegal n value.  n must be 2^i, where i is an integer.";
const std::string maximum = "\n maximum allowed value is 65536 ";

class SegmentLengthDialogue : public testing::Test {
protected:
    void SetUp() override { fresh_state(); }

    // Clears the state as for a record far longer than any segment.
    static void fresh_state()
    {
        reset_state();
        st.record_pairs = 1u << 20;
    }

    // Runs the dialogue on the given answers; returns what it printed.
    static std::string run(const std::string& answers)
    {
        set_console_input(answers);
        return console_of(segment_length_dialogue);
    }
};

// Answers, what they print before the dialogue ends, and the geometry it sets.
struct length_case {
    const char* answers;
    int attempts;
    int illegal_messages;
    int maximum_messages;
    unsigned m, nstages, nhs;
};

const length_case length_cases[] = {
    {"2\n", 1, 0, 0, 2, 1, 1},
    {"65536\n", 1, 0, 0, 65536, 16, 32768},
    {"  +8\n", 1, 0, 0, 8, 3, 4},
    {"1000\n1024\n", 2, 1, 0, 1024, 10, 512},
    {"131072\n512\n", 2, 1, 1, 512, 9, 256},
    {"-5\n512\n", 2, 1, 1, 512, 9, 256},
    {"4294968320\n64\n", 2, 1, 1, 64, 6, 32}, // 2^32 + 1024 must not wrap to 1024
    {"4294967298\n64\n", 2, 1, 1, 64, 6, 32}, // 2^32 + 2 must not wrap to 2
    {"99999999999999999999999\n4\n", 2, 1, 1, 4, 2, 2},
    {"0\n1\n3\n65535\n16\n", 5, 4, 0, 16, 4, 8},
    {"abc\n512\n", 2, 1, 0, 512, 9, 256},             // m keeps its start value 0
    {"131072\nabc def\n512\n", 3, 2, 2, 512, 9, 256}, // m keeps 131072 for "abc"
    {"1e3\n8\n", 2, 1, 0, 8, 3, 4},                   // not an integer: the line is discarded
    {"256.5\n.5\n16\n", 3, 2, 0, 16, 4, 8},           // ".5" is not taken as the next answer
};

TEST_F(SegmentLengthDialogue, AsksUntilAPowerOfTwoUpTo65536)
{
    for (const length_case& c : length_cases) {
        fresh_state();
        const std::string text = run(c.answers);
        SCOPED_TRACE(c.answers);
        EXPECT_EQ(occurrences(text, prompt), c.attempts);
        EXPECT_EQ(occurrences(text, illegal), c.illegal_messages);
        EXPECT_EQ(occurrences(text, maximum), c.maximum_messages);
        EXPECT_EQ(text.rfind(prompt) + prompt.size(), text.size())
            << "nothing after the last prompt";
        EXPECT_EQ(st.m, c.m);
        EXPECT_EQ(st.nstages, c.nstages);
        EXPECT_EQ(st.nhs, c.nhs);
        EXPECT_EQ(st.status, 1);
    }
}

TEST_F(SegmentLengthDialogue, MessagesFollowTheirAnswer)
{
    EXPECT_EQ(run("1000\n131072\n32\n"), prompt + illegal + prompt + illegal + maximum + prompt);
    st.record_pairs = 1000;
    EXPECT_EQ(run("1024\n512\n"),
              prompt +
                  "\n The record holds only 1000 pairs; choose a value from the third column. " +
                  prompt);
    EXPECT_EQ(st.m, 512u);
}

using SegmentLengthDialogueDeathTest = SegmentLengthDialogue;

TEST_F(SegmentLengthDialogueDeathTest, EndOfInputEndsTheRun)
{
    for (const char* answers : {"", "1000\n", "abc", "abc\n\n  \n"}) {
        SCOPED_TRACE(answers);
        EXPECT_EXIT(run(answers), testing::ExitedWithCode(1), "");
    }
}

class ChoicesDialogue : public SegmentLengthDialogue {
protected:
    // Runs the choices on the given answers; returns what they printed.
    static std::string run_choices(const std::string& answers)
    {
        set_console_input(answers);
        return console_of(choices_dialogue);
    }
};

TEST_F(ChoicesDialogue, AnyAnswerIsTakenAndOnlyOneAndTwoSelect)
{
    const std::string prompts = "\n Mean removal? \n 1=yes 2=no \n"
                                "\n Enter window type \n 1=rectangular  2=Hanning \n\n";
    set_console_input("1\n2\n");
    EXPECT_EQ(console_of(choices_dialogue), prompts);
    EXPECT_EQ(st.mean_choice, 1);
    EXPECT_EQ(st.window_choice, 2);

    for (const char* answers : {"7\n0\n", "2\n1\n", "99999999999\n-2\n"}) {
        fresh_state();
        set_console_input(answers);
        EXPECT_EQ(console_of(choices_dialogue), prompts) << answers;
        EXPECT_NE(st.mean_choice, 1) << answers;
        EXPECT_NE(st.window_choice, 2) << answers;
    }
}

using ChoicesDialogueDeathTest = ChoicesDialogue;

TEST_F(ChoicesDialogueDeathTest, AnswerThatIsNoNumberEndsTheRun)
{
    for (const char* answers : {"yes\n2\n", "1\nhann\n", "1\n", "2abc\n1\n"}) {
        SCOPED_TRACE(answers);
        EXPECT_EXIT(run_choices(answers), testing::ExitedWithCode(1), "");
    }
}

} // namespace
