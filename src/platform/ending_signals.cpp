// One handler for every signal that ends the process, installed with sigaction.
#include "platform/ending_signals.h"

#include <csignal>
#include <pthread.h>

signal_handling_state signal_handling{};

namespace {

constexpr int ending_signals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                  SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE};

// The set of the ending signals.
sigset_t ending_set()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : ending_signals) sigaddset(&set, sig);
    return set;
}

// Runs the clean-up, then ends the process by the same signal with its default action.
extern "C" void end_by_signal(int sig)
{
    if (signal_handling.installed_cleanup != nullptr) signal_handling.installed_cleanup();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
    sigset_t self;
    sigemptyset(&self);
    sigaddset(&self, sig);
    pthread_sigmask(SIG_UNBLOCK, &self, nullptr);
    raise(sig);
}

} // namespace

void on_ending_signals(signal_cleanup cleanup)
{
    signal_handling.installed_cleanup = cleanup;
    struct sigaction action {};
    action.sa_handler = end_by_signal;
    action.sa_mask = ending_set(); // one clean-up at a time
    for (int sig : ending_signals) sigaction(sig, &action, nullptr);
}

void ignore_file_size_signal()
{
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGXFSZ, &action, nullptr);
}

ending_signals_held::ending_signals_held()
{
    const sigset_t set = ending_set();
    pthread_sigmask(SIG_BLOCK, &set, &before_);
}

ending_signals_held::~ending_signals_held()
{
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void reset_signal_handling()
{
    signal_handling = signal_handling_state{};
}
