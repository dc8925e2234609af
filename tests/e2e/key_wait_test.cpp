// The closing key wait in a real terminal: the program runs inside a tmux pane and
// is answered by typed keys.
#include "record_text.h"
#include "run_program.h"
#include "tmux_pane.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Writes the script that runs zentri on a short record, then reports its exit
// status and whether the terminal is back in line mode with echo.
std::string write_run_script(const scratch_dir& dir)
{
    dir.write("rec.txt", even_record(64, 3));
    dir.write("run.sh", "trap 'echo [interrupted]' INT\ncd '" + dir.path() +
                            "' && sh -c 'echo $$ >zentri.pid; exec \"$0\"' '" + zentri_binary() +
                            "'\necho \"[exit $?]\"\n"
                            "if stty -a | grep -q -- '-icanon\\|-echo '; then echo '[raw]'; else "
                            "echo '[line]'; fi\n"
                            "sleep 120\n");
    return dir.file("run.sh");
}

// Answers the dialogue up to the key wait, the last answer with more on its line.
void answer_up_to_key_wait(const tmux_pane& pane)
{
    const std::pair<const char*, const char*> dialogue[] = {
        {"Enter input filename", "rec.txt"},
        {"6=volts", "6"},
        {"third column.", "8"},
        {"1=yes 2=no", "1"},
        {"2=Hanning", "'2 junk'"},
    };
    for (const auto& step : dialogue) {
        ASSERT_TRUE(pane.shows(step.first)) << pane.screen();
        pane.type(std::string(step.second) + " Enter");
    }
    ASSERT_TRUE(pane.shows("Press any key to exit.")) << pane.screen();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(pane.screen().find("[exit"), std::string::npos)
        << "the rest of the last answer's line is not taken as the key";
}

// Runs the dialogue up to the key wait in a fresh pane, types key (or, when
// signal is not 0, sends it to the program), and checks the run ended with the
// expected status and the terminal back in line mode; returns the pane's text.
std::string end_with_key(const std::string& key, int signal = 0)
{
    scratch_dir dir;
    tmux_pane pane(write_run_script(dir));
    answer_up_to_key_wait(pane);
    if (signal != 0)
        kill(std::stoi(dir.read("zentri.pid")), signal);
    else
        pane.type(key);
    const std::string status = signal != 0 ? std::to_string(128 + signal) : "1";
    EXPECT_TRUE(pane.shows("[exit " + status + "]")) << pane.screen();
    EXPECT_TRUE(pane.shows("[line]")) << "the terminal mode is restored: " << pane.screen();
    return pane.screen();
}

TEST(KeyWait, OneKeyWithoutEnterEndsTheRunUnechoed)
{
    if (!tmux_present()) GTEST_SKIP() << "tmux is not installed";
    const std::string text = end_with_key("q");
    const auto wait_at = text.find("Press any key to exit.");
    const std::string after_prompt = text.substr(wait_at, text.find("[exit") - wait_at);
    EXPECT_EQ(after_prompt.find('q'), std::string::npos)
        << "the key is not echoed: " << after_prompt;
}

TEST(KeyWait, CtrlCIsAKeyAndLeavesTheTerminalUsable)
{
    if (!tmux_present()) GTEST_SKIP() << "tmux is not installed";
    end_with_key("C-c");
}

TEST(KeyWait, TerminationSignalsRestoreTheTerminal)
{
    if (!tmux_present()) GTEST_SKIP() << "tmux is not installed";
    for (int signal : {SIGTERM, SIGHUP, SIGUSR1, SIGQUIT}) {
        SCOPED_TRACE(signal);
        end_with_key("", signal);
    }
}

} // namespace
