#include "platform/key_wait.h"

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

void wait_for_key()
{
    std::fflush(stdout);
    termios saved{};
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0) {
        std::getchar();
        return;
    }
    termios raw = saved;
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
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}
