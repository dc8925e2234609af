// Refusing a result file that is one of the run's input files.
#include "output/record_guard.h"
#include "output/staged_files.h"

#include <sys/stat.h>
#include <vector>

namespace {

// One input file of the run.
struct guarded_input {
    std::string what; // "record", "profile", ...
    std::string name; // its name as given
    dev_t device;     // the device it is on
    ino_t inode;      // its inode there
};

// The input files of the run, noted as they are opened.
struct guarded_inputs {
    std::vector<guarded_input> files; // every input noted so far
};

// The run's one list of input files.
guarded_inputs& inputs()
{
    static guarded_inputs noted;
    return noted;
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
