// Runs a procedure that ends the process (it calls exit) in a forked child, so
// that a fuzz target can run the whole program once per input. The child reads
// its standard input from memory, works in a given folder, and is killed by an
// alarm when it hangs; its coverage is carried back to the fuzzing process.
#pragma once

#include <cstddef>
#include <cstdint>

// How a child run ended.
struct child_outcome {
    bool exited;     // it called exit() (its exit handlers ran)
    int exit_status; // the status given to exit(), when exited
    int signal;      // the signal that killed it, or 0
    bool hung;       // killed by the hang alarm
};

// Runs body in a child: standard input the bytes given, standard output
// discarded, standard error kept, current folder dir, killed after timeout_s.
child_outcome run_in_child(const std::uint8_t* input, std::size_t size, const char* dir,
                           unsigned timeout_s, void (*body)());

// Aborts (so the fuzzer keeps the input) unless the child exited with expected_status.
void require_clean_exit(const child_outcome& outcome, int expected_status);

// Aborts unless the child exited with a status from lowest to highest.
void require_exit_in(const child_outcome& outcome, int lowest, int highest);
