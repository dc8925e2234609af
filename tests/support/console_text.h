// Small checks on the console text of a run.
#pragma once

#include <string>

// The start of the dialogue's message for an answer it cannot use.
inline const std::string input_error = "\n Input Error";

// True when text ends with tail.
inline bool ends_with(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// True when text holds what.
inline bool holds(const std::string& text, const std::string& what)
{
    return text.find(what) != std::string::npos;
}

// Counts the occurrences of what in text.
inline int occurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}
