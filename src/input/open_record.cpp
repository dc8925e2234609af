// Opening the record: a file so that a pipe without a writer cannot hang the
// run, or, for the single pass, standard input, a pipe or a FIFO.
#include "input/open_record.h"
#include "core/analysis_state.h"
#include "input/record_change.h"
#include "input/record_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Puts descriptor fd into stream slot 1; returns 0 or the errno value.
int adopt_descriptor(int fd)
{
    st.fp[1] = fdopen(fd, "rb");
    if (st.fp[1] != nullptr) return 0;
    const int error = errno;
    close(fd);
    return error;
}

// Takes a FIFO already open without blocking for the single pass, waiting for
// its writer's first bytes or its end as any reader of one does. The descriptor
// is kept open throughout: closing it and opening the FIFO again would let a
// writer that had already started lose its pipe (and the run wait for ever).
int take_fifo(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    while (poll(&ready, 1, -1) < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        close(fd);
        return error;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return adopt_descriptor(fd);
}

// Opens the record into stream slot 1 (open_record()).
int open_descriptor(const char* path, bool stream_allowed)
{
    const bool standard_input = std::strcmp(path, "-") == 0;
    const int fd = standard_input ? dup(STDIN_FILENO) : open(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        return error;
    }
    if (stream_allowed && standard_input) return adopt_descriptor(fd);
    if (stream_allowed && S_ISFIFO(info.st_mode)) return take_fifo(fd);
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return not_regular_file;
    }
    if (!standard_input) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const int error = adopt_descriptor(fd);
    note_record_stamp();
    return error;
}

} // namespace

int open_record(const char* path, bool stream_allowed)
{
    const int error = open_descriptor(path, stream_allowed);
    if (error == 0) choose_record_reader();
    return error;
}

bool record_is_file()
{
    struct stat info {};
    return st.fp[1] != nullptr && fstat(fileno(st.fp[1]), &info) == 0 && S_ISREG(info.st_mode);
}
