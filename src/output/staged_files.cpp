// The staged result files of a scripted run: their temporary names, the
// signal handler that removes them, and their renaming into place.
#include "output/staged_files.h"
#include "input/column_reader.h"
#include "platform/progress_bar.h"
#include "run/analysis_state.h"
#include "run/end_run.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A file being written: the name it gets and the temporary name it has meanwhile.
struct staged_file {
    std::string path;
    std::string temp;
};

std::vector<staged_file> staged; // every temporary file made so far

// The temporary names again, for a signal handler to remove: fixed storage that
// is complete before the count covers it.
// For each channel: at most 33 result files (the 14 of displacement or 6 of
// acceleration with the 6 and 14 of the two quantities derived from it, an
// octave file beside each of their 6 PSD files, the table, the profile check
// and the two H1 files), and the summary.
constexpr int max_staged = max_channels * 36 + 1;
char signal_temps[max_staged][PATH_MAX];
volatile std::sig_atomic_t signal_temp_count = 0;

// Clears the progress bar and removes the temporary files, then lets the signal
// end the process as it would have.
extern "C" void end_on_signal(int sig)
{
    progress_end();
    for (int i = 0; i < signal_temp_count; ++i) unlink(signal_temps[i]);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

std::vector<std::string> made_folders; // result folders made by this run, in order

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
    for (const staged_file& f : staged) std::remove(f.temp.c_str());
    for (auto f = made_folders.rbegin(); f != made_folders.rend(); ++f) rmdir(f->c_str());
    run_failed(message);
}

std::string failed(const std::string& path, int error)
{
    return path + ": " + std::strerror(error) + nothing_written;
}

std::FILE* stage(const std::string& path)
{
    check_replaceable(path);
    const std::size_t slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                       "." + path.substr(slash + 1) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) give_up(failed(path, errno));
    staged.push_back({path, temp});
    if (signal_temp_count < max_staged && temp.size() < PATH_MAX) {
        std::strcpy(signal_temps[signal_temp_count], temp.c_str());
        signal_temp_count = signal_temp_count + 1;
    }
    std::FILE* f = fchmod(fd, new_file_mode()) == 0 ? fdopen(fd, "w") : nullptr;
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
    if (std::fclose(f) != 0 || !written) give_up(path + ": could not be written" + nothing_written);
}

void put_in_place()
{
    while (!staged.empty()) {
        const staged_file f = staged.front();
        if (std::rename(f.temp.c_str(), f.path.c_str()) != 0)
            give_up(f.path + ": " + std::strerror(errno));
        staged.erase(staged.begin());
    }
    signal_temp_count = 0;
}

long long written_size(const std::string& path)
{
    std::string name = path;
    for (const staged_file& f : staged)
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
    char real[PATH_MAX];
    if (realpath(folder.c_str(), real) == nullptr) give_up(failed(given, errno));
    return path_in(real, name);
}

void catch_ending_signals()
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, end_on_signal);
}

std::string path_in(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

void make_result_folder(const std::string& folder)
{
    if (mkdir(folder.c_str(), 0777) == 0)
        made_folders.push_back(folder);
    else if (errno != EEXIST)
        give_up(failed(folder, errno));
}
