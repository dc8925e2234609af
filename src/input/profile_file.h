// A test profile as a test plan gives it, read from a text file: one
// breakpoint a line, "FREQ VALUE" (a PSD in the quantity's English unit squared
// per Hz) or "FREQ SLOPE dB/oct"; '#' starts a comment, blank lines are skipped.
// A slope on the first line describes the segment to the second breakpoint, a
// slope on any other line the segment from the breakpoint before; the line with
// the slope takes its value from the other end of that segment. A UTF-8 byte
// order mark before the first line is skipped. The file is read a line at a
// time: a line holds at most 4096 bytes, a profile at most 10,000 breakpoints,
// each value from 1e-30 to 1e30.
#pragma once

#include <string>
#include <vector>

// One breakpoint, its value settled.
struct profile_point {
    double frequency; // Hz
    double value;     // PSD, the quantity's English unit squared per Hz (V^2/Hz for volts)
};

// A profile file as read: the breakpoints in increasing frequency, or the fault.
struct profile_reading {
    std::vector<profile_point> points; // at least two when error is empty
    int line;                          // line of the fault, 0 when the file itself failed
    std::string error;                 // what is wrong, "" for a sound profile
};

// Reads the profile text: the breakpoints, or the first fault and its line. A
// slope of S dB/oct changes the value by 10^(S/decibels) an octave: decibels is
// 10 for a PSD (a power), 20 for an amplitude such as a shock response spectrum.
profile_reading read_profile_text(const std::string& text, double decibels = 10.);

// Reads the profile file at path; a file that cannot be read is a fault of line 0.
profile_reading read_profile_file(const std::string& path, double decibels = 10.);
