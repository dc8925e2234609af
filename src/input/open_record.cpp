// Opening the record so that a pipe without a writer cannot hang the run.
#include "input/input.h"
#include "run/analysis_state.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int open_record(const char* path)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return not_regular_file;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    st.fp[1] = fdopen(fd, "rb");
    if (st.fp[1] != nullptr) return 0;
    const int error = errno;
    close(fd);
    return error;
}
