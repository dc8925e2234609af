// Runs a shell command line and keeps what it printed.
#pragma once

#include <string>

// Outcome of one command.
struct command_result {
    int exit_status; // exit code, or -1 when the shell could not run it
    std::string out; // standard output
    std::string err; // standard error
};

// Runs command in folder dir with /bin/sh; standard input is empty.
command_result run_command(const std::string& dir, const std::string& command);

// True when a program of that name is on the PATH.
bool have_program(const std::string& name);
