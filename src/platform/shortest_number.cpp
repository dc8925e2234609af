// The shortest round-trip text of a double.
#include "platform/shortest_number.h"

#include <charconv>

std::string shortest_text(double v)
{
    char text[32]; // the longest shortest form of a double is 24 characters
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    return {text, r.ptr};
}
