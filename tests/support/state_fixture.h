// Test support for procedures that work on the program-wide record.
#pragma once

#include "core/analysis_state.h"

#include <string>

// Returns the record to its start-up state, all zero with its constants set,
// and every other record of the program to its own.
void reset_state();

// Opens a record held in memory as the input stream of slot 1.
void open_record_text(const std::string& text);

// Opens the record as open_record_text() does, with st.record_pairs and the
// file's size set as the survey would leave them.
void open_counted_record(const std::string& text);

// Surveys the record given as text; returns what the survey printed.
std::string survey_of(const std::string& record);

// Closes the input stream of slot 1, if open.
void close_record();

// Makes text the whole of standard input, as the console dialogue reads it.
void set_console_input(const std::string& text);

// Runs fn while capturing what it prints to the console; returns the text.
template <class Fn> std::string console_of(Fn fn);

#include <cstdio>
#include <gtest/gtest.h>

template <class Fn> std::string console_of(Fn fn)
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    fn();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}
