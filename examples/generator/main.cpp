// zentri-gen: synthetic time histories with known answers for zentri.
#include "command_line.h"
#include "known_answers.h"
#include "record_writer.h"
#include "synthesis.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Writes the record to its file or to standard output; false on any failure.
bool write_to_destination(const recipe& r, const std::vector<double>& x)
{
    std::FILE* out = r.output.empty() ? stdout : std::fopen(r.output.c_str(), "w");
    if (out == nullptr) {
        std::fprintf(stderr, "zentri-gen: cannot create %s: %s\n", r.output.c_str(),
                     std::strerror(errno));
        return false;
    }
    bool ok = write_record(out, r, x);
    ok = (out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && ok;
    if (!ok) std::fprintf(stderr, "zentri-gen: writing the record failed\n");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    recipe r;
    std::string error;
    switch (read_command_line(argc, argv, r, error)) {
    case command::show_usage: std::fputs(usage_text(), stdout); return 0;
    case command::bad_usage:
        std::fprintf(stderr, "zentri-gen: %s\n\n%s", error.c_str(), usage_text());
        return 2;
    case command::make_record: break;
    }
    const std::vector<double> x = synthesize(r);
    if (!write_to_destination(r, x)) return 1;
    print_known_answers(stderr, r, x);
    return 0;
}
