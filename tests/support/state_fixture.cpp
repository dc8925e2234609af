#include "state_fixture.h"

#include <cstdio>
#include <cstring>

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

void close_record()
{
    if (st.fp[1] != nullptr) std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
}
