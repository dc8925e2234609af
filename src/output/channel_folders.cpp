// The folder names of a run's channels, made safe for a file name.
#include "output/channel_folders.h"
#include "core/analysis_state.h"
#include "input/column_reader.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t longest_name = 64; // bytes of a folder name at most

// The column's name made safe for a file name, or "" when there is none to use.
std::string safe_name(const char* name)
{
    std::string safe;
    for (const char* p = name; *p != '\0' && safe.size() < longest_name; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const bool kept = c < 0x80 && (std::isalnum(c) || c == '.' || c == '-' || c == '_');
        if (kept)
            safe += static_cast<char>(c);
        else if (safe.empty() || safe.back() != '_')
            safe += '_';
    }
    while (!safe.empty() && safe.back() == '_') safe.pop_back();
    if (!safe.empty() && safe.front() == '_') safe.erase(0, 1);
    return safe.empty() || safe.front() == '.' ? std::string() : safe;
}

} // namespace

std::vector<std::string> channel_folders()
{
    std::vector<std::string> folders;
    for (int c = 0; c < st.channels; ++c) {
        const int column = st.column + c;
        char name[256] = "";
        if (!st.sound) column_name(column, name, sizeof name); // a sound file names none
        std::string folder = safe_name(name);
        const auto taken = [&folders](const std::string& f) {
            return std::find(folders.begin(), folders.end(), f) != folders.end();
        };
        if (folder.empty() || taken(folder)) folder = "col" + std::to_string(column);
        while (taken(folder)) folder += '_'; // a header may name another column colN
        folders.push_back(folder);
    }
    return folders;
}
