// The staged result files of a scripted run: their temporary names, the
// signal handler that removes them, and their putting in place as one set.
#include "output/staged_files.h"
#include "core/end_run.h"
#include "output/record_guard.h"
#include "output/result_folders.h"
#include "output/result_lock.h"
#include "output/run_leftovers.h"
#include "output/set_replacement.h"
#include "platform/ending_signals.h"
#include "platform/progress_bar.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

staged_files_state staged_files{};

namespace {

// Clears the progress bar and removes the temporaries and made folders, for a signal handler.
void clean_up_on_signal()
{
    progress_end();
    remove_leftovers();
}

// Closes the descriptors kept to flush the staged files and forgets them.
void forget_staged()
{
    for (const staged_file& f : staged_files.staged)
        if (f.sync_fd >= 0) close(f.sync_fd);
    staged_files.staged.clear();
}

// The permissions a new file gets from fopen: read and write as the umask allows.
mode_t new_file_mode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Refuses to replace anything but a regular file or a link: a folder or a
// device of that name is not a result file.
void check_replaceable(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return;
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        give_up(path + ": exists and is not a regular file" + nothing_written);
}

} // namespace

const std::string nothing_written = "; no result file was written";

void give_up(const std::string& message)
{
    remove_leftovers();
    forget_staged();
    run_failed(message);
}

std::string failed(const std::string& path, int error)
{
    return path + ": " + std::strerror(error) + nothing_written;
}

std::string not_written(const std::string& path, int error)
{
    return path + ": could not be written: " + std::strerror(error != 0 ? error : EIO) +
           nothing_written;
}

std::FILE* stage(const std::string& path)
{
    refuse_input_as_output(path);
    check_replaceable(path);
    remove_stale_temporaries(path);
    std::string temp = temporary_template(path);
    int fd = -1;
    {
        const ending_signals_held held; // a signal before the name is noted would leave it
        fd = mkstemp(temp.data());
        if (fd >= 0) leave_temporary(temp);
    }
    if (fd < 0) give_up(failed(path, errno));
    staged_files.staged.push_back({path, temp, fcntl(fd, F_DUPFD_CLOEXEC, 0)});
    std::FILE* f = staged_files.staged.back().sync_fd >= 0 && fchmod(fd, new_file_mode()) == 0
                       ? fdopen(fd, "w")
                       : nullptr;
    if (f == nullptr) {
        const int error = errno;
        close(fd);
        give_up(failed(path, error));
    }
    return f;
}

std::FILE* stage_result(const std::string& path, const std::string& summary_given)
{
    if (path == summary_full_path(summary_given))
        give_up("--summary " + summary_given + ": names a result file");
    return stage(path);
}

void write_summary(const std::string& path, const std::string& text)
{
    std::FILE* f = stage(path);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const int error = errno;
    if (std::fclose(f) != 0 || !written) give_up(not_written(path, written ? errno : error));
}

void put_in_place()
{
    std::string error = sync_to_disk(staged_files.staged);
    if (!error.empty()) give_up(error);
    {
        const ending_signals_held held; // a signal now would cut the set in two
        error = replace_as_one_set(staged_files.staged);
        if (!error.empty()) give_up(error);
        keep_leftovers();
    }
    forget_staged();
}

long long written_size(const std::string& path)
{
    std::string name = path;
    for (const staged_file& f : staged_files.staged)
        if (f.path == path) name = f.temp;
    struct stat info {};
    return stat(name.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

std::string summary_full_path(const std::string& given)
{
    if (given.empty()) return "";
    const std::size_t slash = given.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : given.substr(0, slash + 1);
    const std::string name = given.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty()) give_up("--summary " + given + ": names a folder, not a file");
    refuse_foreign_links("--summary " + given,
                         given.substr(0, slash == std::string::npos ? 0 : slash));
    char real[PATH_MAX];
    if (realpath(folder.c_str(), real) == nullptr) give_up(failed(given, errno));
    return path_in(real, name);
}

void catch_ending_signals()
{
    on_ending_signals(clean_up_on_signal);
}

std::string path_in(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

void reset_staged_files()
{
    forget_staged();
}
