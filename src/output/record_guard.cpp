// Refusing a result file that is one of the run's input files.
#include "output/record_guard.h"
#include "output/staged_files.h"

#include <sys/stat.h>
#include <vector>

guarded_inputs guarded{};

namespace {

// The run's one list of input files.
guarded_inputs& inputs()
{
    return guarded;
}

} // namespace

void guard_input(const std::string& what, const std::string& name, int fd)
{
    struct stat info {};
    if ((fd >= 0 ? fstat(fd, &info) : stat(name.c_str(), &info)) != 0) return;
    inputs().files.push_back({what, name, info.st_dev, info.st_ino});
}

void refuse_input_as_output(const std::string& path)
{
    struct stat out {};
    if (stat(path.c_str(), &out) != 0) return;
    for (const guarded_input& in : inputs().files)
        if (out.st_dev == in.device && out.st_ino == in.inode)
            give_up(path + ": the same file as the " + in.what + " " + in.name +
                    ", which its results would replace; nothing was written");
}

void reset_guarded_inputs()
{
    guarded = guarded_inputs{};
}
