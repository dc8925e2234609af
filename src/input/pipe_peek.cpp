// Peeking at a pipe's first bytes with tee(2), which copies without consuming.
#include "input/pipe_peek.h"

#include <cerrno>
#include <fcntl.h> // tee
#include <poll.h>
#include <unistd.h>

namespace {

// A pipe of the program's own that the peeked bytes are copied into.
struct copy_pipe {
    int from = -1; // its read end
    int into = -1; // its write end
};

// Copies what is waiting in fd, up to n bytes, into the copy: the bytes
// copied, 0 at the end, -1 on failure.
ssize_t copy_waiting(int fd, const copy_pipe& copy, std::size_t n)
{
    ssize_t got = 0;
    do got = tee(fd, copy.into, n, 0);
    while (got < 0 && errno == EINTR);
    return got;
}

// True once the writer of fd has closed it.
bool writer_gone(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
}

// Copies the first n bytes of fd, waiting for them until its writer has gone;
// returns the bytes in the copy.
ssize_t wait_for(int fd, const copy_pipe& copy, std::size_t n, unsigned char* scratch)
{
    for (;;) {
        const ssize_t got = copy_waiting(fd, copy, n);
        if (got <= 0 || static_cast<std::size_t>(got) >= n || writer_gone(fd)) return got;
        // Fewer are there yet: empty the copy and look again in a moment.
        if (read(copy.from, scratch, static_cast<std::size_t>(got)) != got) return -1;
        usleep(1000);
    }
}

} // namespace

std::size_t peek_pipe(int fd, unsigned char* out, std::size_t n)
{
    int ends[2];
    if (n == 0 || pipe(ends) != 0) return 0;
    const copy_pipe copy{ends[0], ends[1]};
    const ssize_t got = wait_for(fd, copy, n, out);
    const ssize_t read_back = got > 0 ? read(copy.from, out, static_cast<std::size_t>(got)) : 0;
    close(copy.from);
    close(copy.into);
    return read_back > 0 ? static_cast<std::size_t>(read_back) : 0;
}
