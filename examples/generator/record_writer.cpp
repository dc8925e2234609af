// Writing a generated record as time and amplitude pairs in zentri's input format.
#include "record_writer.h"

#include "platform/console_format.h"

bool write_record(std::FILE* out, const recipe& r, const std::vector<double>& x)
{
    bool ok = true;
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double t = r.start + static_cast<double>(j) / r.rate;
        ok = zfprint(out, "%.12g %.8g\n", t, x[j]) && ok;
    }
    return ok;
}
