// Resetting the program-wide state and giving it a record or console input for a test.
#include "state_fixture.h"
#include "input/input.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

void reset_state()
{
    close_record();
    std::memset(&st, 0, sizeof st);
    set_constants();
}

void open_record_text(const std::string& text)
{
    close_record();
    std::FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    st.fp[1] = f;
}

void open_counted_record(const std::string& text)
{
    open_record_text(text);
    double t = 0., a = 0.;
    for (st.record_pairs = 0; scan_survey_pair(&t, &a) == 2;) ++st.record_pairs;
    note_record_size();
    rewind_record();
}

void close_record()
{
    if (st.fp[1] != nullptr) std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
}

void set_console_input(const std::string& text)
{
    char path[] = "/tmp/zentri_stdin_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("cannot write the console input");
    close(fd);
    if (std::freopen(path, "r", stdin) == nullptr) throw std::runtime_error("cannot reopen stdin");
    unlink(path);
}
