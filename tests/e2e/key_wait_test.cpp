// The closing key wait in a real terminal: the program runs inside a tmux pane and
// is answered by typed keys.
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Runs a command line and returns what it printed.
std::string output_of(const std::string& command)
{
    std::string text;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
        pclose(p);
    }
    return text;
}

// A tmux server of its own with one pane running a shell script.
class tmux_pane {
public:
    explicit tmux_pane(const std::string& script)
        : tmux_("tmux -L zentri_key_wait_" + std::to_string(getpid()))
    {
        output_of(tmux_ + " new-session -d -s run -x 200 -y 60 'sh " + script + "' 2>&1");
    }
    ~tmux_pane() { output_of(tmux_ + " kill-server 2>&1"); }

    // The pane's text with its history, wrapped lines joined.
    std::string screen() const { return output_of(tmux_ + " capture-pane -p -J -S -500 -t run"); }

    // Types keys (tmux key names, e.g. "Enter") into the pane.
    void type(const std::string& keys) const { output_of(tmux_ + " send-keys -t run " + keys); }

    // Waits up to 15 s for text to appear on the pane.
    bool shows(const std::string& text) const
    {
        for (int i = 0; i < 150; ++i) {
            if (screen().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

private:
    std::string tmux_;
};

// Writes the script that runs zentri on a short record, then reports its exit
// status and whether the terminal is back in line mode with echo.
std::string write_run_script(const scratch_dir& dir)
{
    dir.write("rec.txt", even_record(64, 3));
    dir.write("run.sh", "trap 'echo [interrupted]' INT\ncd '" + dir.path() +
                            "' && sh -c 'echo $$ >zentri.pid; exec \"$0\"' '" + ZENTRI_BINARY +
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

// True when tmux can be run here.
bool tmux_present()
{
    return std::system("command -v tmux >/dev/null 2>&1") == 0;
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
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        end_with_key("", signal);
    }
}

} // namespace
