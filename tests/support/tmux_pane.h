// A program in a real terminal for the tests: a tmux pane of its own server,
// its screen read back and keys typed into it.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

// Runs a command line and returns what it printed.
inline std::string output_of(const std::string& command)
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
    // Each pane has a server of its own name: a server just killed may still hold
    // its socket while the next pane of the same test starts.
    explicit tmux_pane(const std::string& script)
        : tmux_("tmux -L zentri_test_" + std::to_string(getpid()) + "_" + std::to_string(++made()))
    {
        output_of(tmux_ + " new-session -d -s run -x 200 -y 60 'sh " + script + "' 2>&1");
    }
    ~tmux_pane() { output_of(tmux_ + " kill-server 2>&1"); }

    // The pane's text with its history, wrapped lines joined.
    std::string screen() const { return output_of(tmux_ + " capture-pane -p -J -S -500 -t run"); }

    // Copies everything the pane's program writes, control characters and all, into file.
    void log_to(const std::string& file) const
    {
        output_of(tmux_ + " pipe-pane -t run 'cat >> " + file + "' 2>&1");
    }

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
    // Panes made so far in this process.
    static int& made()
    {
        static int count = 0;
        return count;
    }

    std::string tmux_;
};

// True when tmux can be run here.
inline bool tmux_present()
{
    return std::system("command -v tmux >/dev/null 2>&1") == 0;
}
