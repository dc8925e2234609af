// libsndfile's virtual I/O over a pipe read once, its first bytes kept.
#include "input/piped_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr sf_count_t kept_bytes = sf_count_t{1} << 20; // the first MiB is kept

// Reads up to n bytes of the pipe into out: the bytes read, 0 at its end.
sf_count_t take(piped_bytes& b, unsigned char* out, sf_count_t n)
{
    sf_count_t got = 0;
    while (got < n) {
        const ssize_t r = read(b.fd, out + got, static_cast<std::size_t>(n - got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += r;
    }
    if (b.taken < kept_bytes) {
        const sf_count_t keep = std::min(got, kept_bytes - b.taken);
        b.kept.insert(b.kept.end(), out, out + keep);
    }
    b.taken += got;
    return got;
}

// Reads and drops the pipe's bytes up to libsndfile's position; false at its end.
bool skip_to_position(piped_bytes& b)
{
    unsigned char dropped[65536];
    while (b.taken < b.at) {
        const sf_count_t n = std::min<sf_count_t>(sizeof dropped, b.at - b.taken);
        if (take(b, dropped, n) < n) return false;
    }
    return true;
}

sf_count_t length(void* /*user*/)
{
    return sf_count_t{1} << 62; // unknown: as long as the header says
}

sf_count_t seek(sf_count_t offset, int whence, void* user)
{
    piped_bytes& b = *static_cast<piped_bytes*>(user);
    if (whence == SEEK_END) return -1;
    const sf_count_t to = (whence == SEEK_CUR ? b.at : 0) + offset;
    if (to < 0) return -1;
    b.at = to;
    return to;
}

sf_count_t read_piped(void* out, sf_count_t count, void* user)
{
    piped_bytes& b = *static_cast<piped_bytes*>(user);
    auto* to = static_cast<unsigned char*>(out);
    sf_count_t done = 0;
    const auto held = static_cast<sf_count_t>(b.kept.size());
    if (b.at < held) { // from the kept bytes
        done = std::min(count, held - b.at);
        std::memcpy(to, b.kept.data() + b.at, static_cast<std::size_t>(done));
        b.at += done;
    }
    if (done == count) return done;
    if (b.at < b.taken) {
        b.lost = true;
        return done;
    }
    if (b.at > b.taken && b.at > kept_bytes) return done; // a skip past the samples: the end
    if (!skip_to_position(b)) return done;
    const sf_count_t got = take(b, to + done, count - done);
    b.at += got;
    return done + got;
}

sf_count_t write_nothing(const void* /*data*/, sf_count_t /*count*/, void* /*user*/)
{
    return 0;
}

sf_count_t tell(void* user)
{
    return static_cast<piped_bytes*>(user)->at;
}

} // namespace

const SF_VIRTUAL_IO piped_io{length, seek, read_piped, write_nothing, tell};
