// The house's guard: every #include "..." under src/ names a header of its own
// folder or of a folder on a lower floor, never one above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// The floors, lowest first: a file may include its own floor and those below.
const std::map<std::string, int> floors = {
    {"platform", 1}, {"core", 2},     {"input", 3}, {"spectrum", 4},
    {"readings", 5}, {"output", 6},   {"cli", 7},   {"run", 8},
};

// The floor of a folder under src/, 0 for a folder the table does not know.
int floor_of(const std::string& folder)
{
    const auto at = floors.find(folder);
    return at == floors.end() ? 0 : at->second;
}

// The faults of one source file: "file:line: includes x (floor n above m)".
std::string climbing_includes(const fs::path& file, const std::string& folder)
{
    static const std::regex include(R"(^\s*#\s*include\s+"([^"]+)\")");
    std::ifstream in(file);
    std::string faults;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        const std::string target = m[1];
        const std::string::size_type slash = target.find('/');
        const std::string to = slash == std::string::npos ? folder : target.substr(0, slash);
        if (floor_of(to) != 0 && floor_of(to) <= floor_of(folder)) continue;
        faults += file.string() + ":" + std::to_string(number) + ": includes " + target +
                  " (floor " + std::to_string(floor_of(to)) + ", above " + folder + "'s " +
                  std::to_string(floor_of(folder)) + ")\n";
    }
    return faults;
}

} // namespace

// Every folder under src/ has a floor, and no include climbs above its file's floor.
TEST(IncludeFloors, NoIncludeClimbsAFloor)
{
    const fs::path src = fs::path(ZENTRI_SOURCE_DIR) / "src";
    std::string faults;
    int files = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(src)) {
        if (!e.is_regular_file()) continue;
        const std::string folder = e.path().lexically_relative(src).begin()->string();
        EXPECT_NE(floor_of(folder), 0) << "src/" << folder << " has no floor";
        faults += climbing_includes(e.path(), folder);
        ++files;
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(faults.empty()) << faults;
}
