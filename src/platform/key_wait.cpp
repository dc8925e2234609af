// The wait for one key at the end of a run, the terminal restored on every way out.
#include "platform/key_wait.h"
#include "platform/ending_signals.h"

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

key_wait_state key_wait{};

namespace {

// Restores the terminal before an ending signal ends the process.
void restore_terminal()
{
    tcsetattr(STDIN_FILENO, TCSANOW, &key_wait.saved_terminal);
}

} // namespace

void wait_for_key()
{
    std::fflush(stdout);
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &key_wait.saved_terminal) != 0) {
        std::getchar();
        return;
    }
    on_ending_signals(restore_terminal);
    termios raw = key_wait.saved_terminal;
    // Without ISIG, Ctrl-C, Ctrl-\ and Ctrl-Z are keys like any other: they end the
    // wait, and the terminal is never left without echo by a signal.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    tcflush(STDIN_FILENO, TCIFLUSH); // the rest of the last answer's line is not the key
    char key;
    while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
    }
    tcsetattr(STDIN_FILENO, TCSANOW, &key_wait.saved_terminal);
}

void reset_key_wait()
{
    key_wait = key_wait_state{};
}
