// A piped sound file as libsndfile's virtual I/O sees it: read once, front to
// back. Its first MiB is kept, so libsndfile may go back within it (it reads
// the header twice); it may skip forward by reading within that MiB. A skip
// beyond it is libsndfile looking for header chunks after the samples: the pipe
// answers that it ends there, as a pipe cannot go back to the samples after.
// Going back past the kept bytes cannot be done, and is noted.
#pragma once

#include <sndfile.h>

#include <vector>

// The bytes of the pipe taken so far and where libsndfile stands in them.
struct piped_bytes {
    int fd = -1;                     // the pipe
    std::vector<unsigned char> kept; // its first bytes, at most piped_kept_bytes
    sf_count_t taken = 0;            // bytes read from the pipe
    sf_count_t at = 0;               // libsndfile's position
    bool lost = false;               // a read went back past the kept bytes
};

// The virtual I/O over a piped_bytes.
extern const SF_VIRTUAL_IO piped_io;

// True when libsndfile's position lies behind bytes the pipe no longer gives:
// the format needs to seek back, as a file, after its header was read.
inline bool piped_position_lost(const piped_bytes& b)
{
    return b.lost || (b.at < b.taken && b.at >= static_cast<sf_count_t>(b.kept.size()));
}
