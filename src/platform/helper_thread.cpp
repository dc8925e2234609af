// The helper thread's loop and its handshake with the owner.
#include "platform/helper_thread.h"

#include <utility>

namespace {

// The helper's loop: waits for a job, runs it, says so; ends at the close.
void serve(helper_thread& h)
{
    std::unique_lock<std::mutex> held(h.lock);
    for (;;) {
        h.changed.wait(held, [&h] { return h.closing || h.job; });
        if (!h.job) return;
        held.unlock();
        h.job();
        held.lock();
        h.job = nullptr;
        h.changed.notify_all();
    }
}

} // namespace

void helper_closer::operator()(helper_thread* h) const
{
    {
        const std::lock_guard<std::mutex> held(h->lock);
        h->closing = true;
    }
    h->changed.notify_all();
    if (h->thread.joinable()) h->thread.join();
    delete h;
}

helper start_helper()
{
    helper h(new helper_thread);
    helper_thread* raw = h.get();
    raw->thread = std::thread([raw] { serve(*raw); });
    return h;
}

void hand_to_helper(helper_thread& h, std::function<void()> job)
{
    {
        const std::lock_guard<std::mutex> held(h.lock);
        h.job = std::move(job);
    }
    h.changed.notify_all();
}

void wait_for_helper(helper_thread& h)
{
    std::unique_lock<std::mutex> held(h.lock);
    h.changed.wait(held, [&h] { return !h.job; });
}
