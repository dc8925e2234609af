// Windows of the record's samples: their moments and, when full, their figures.
#include "readings/running_figures.h"

#include <utility>

void running_start(running_figures_state& r, std::uint64_t length,
                   std::function<void(const running_window&)> take)
{
    r = {};
    r.length = length > 0 ? length : 1;
    r.take = std::move(take);
}

void running_feed(running_figures_state& r, const float* x, std::size_t count, std::uint64_t first)
{
    for (std::size_t i = 0; i < count;) {
        if (r.window.n == 0) r.start = first + i;
        const std::uint64_t room = r.length - r.window.n;
        const std::size_t part = count - i < room ? count - i : static_cast<std::size_t>(room);
        extremes_add(r.window, x + i, part, first + i);
        moments_add_block(r.window, x + i, part);
        i += part;
        if (r.window.n < r.length) continue;
        const moment_figures f = figures_of(r.window);
        if (r.take) r.take({r.start, f.deviation, f.peak, f.crest_factor, f.kurtosis});
        r.window = {};
    }
}
