// A persistent second thread that runs one job at a time for the thread that
// owns it: handed a job, it runs it while the owner does its own share, and the
// owner waits for it before the next. Started once, so no thread is made per job.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The thread and its handshake.
struct helper_thread {
    std::mutex lock;                 // guards the fields below
    std::condition_variable changed; // signals a new job, a finished job or the close
    std::function<void()> job;       // the job handed over, empty once done
    bool closing = false;            // the owner is done with the thread
    std::thread thread;              // runs the jobs
};

// Stops and joins the thread, then frees it.
struct helper_closer {
    void operator()(helper_thread* h) const;
};

using helper = std::unique_ptr<helper_thread, helper_closer>;

// A started helper thread.
helper start_helper();

// Hands job to the helper and returns at once.
void hand_to_helper(helper_thread& h, std::function<void()> job);

// Waits until the helper has finished the job handed over.
void wait_for_helper(helper_thread& h);
