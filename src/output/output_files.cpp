// The dialogue's output files: their names in the file slots, the announcement, their creation.
#include "output/output_files.h"
#include "core/analysis_state.h"
#include "output/file_sets.h"
#include "platform/console_format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The file set of the run's quantity.
const file_set& run_file_set()
{
    return file_set_of(st.input_type);
}

// Opens a result file for writing as fopen("w") does, but never through a
// link: a link at the name is removed and a regular file made in its place.
std::FILE* open_result_file(const char* name)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            std::FILE* f = fdopen(fd, "w");
            if (f == nullptr) close(fd);
            return f;
        }
        if (errno != ELOOP || unlink(name) != 0) return nullptr;
    }
    return nullptr;
}

} // namespace

int last_slot()
{
    return 1 + run_file_set().count;
}

void name_set_files(const file_set& set)
{
    for (int i = 0; i < set.count; ++i) std::strcpy(st.fname[2 + i], set.files[i].name);
}

void name_output_files()
{
    const file_set& set = run_file_set();
    name_set_files(set);
    zprint("%s", set.title);
    for (int i = 0; i < set.count; ++i) zprint("%s", set.files[i].announcement);
}

void create_output_files()
{
    name_output_files();
    for (int slot = 2; slot <= last_slot(); ++slot) {
        st.fp[slot] = open_result_file(st.fname[slot]);
        if (st.fp[slot] == nullptr) zprint(" Failed to open file: %s \n", st.fname[slot]);
    }
}
