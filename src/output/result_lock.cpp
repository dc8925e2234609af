// Locking the result folders with flock, and removing a killed run's temporaries under the lock.
#include "output/result_lock.h"
#include "core/end_run.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

result_locks_state result_locks{};

namespace {

// Closes the locked folders' descriptors as the process exits, which releases the locks.
void release_locks()
{
    for (int fd : result_locks.held) close(fd);
    result_locks.held.clear();
}

// Takes the lock of one folder, waiting for another run when it holds it; the
// descriptor stays open, and the lock held, until the process ends.
void lock_folder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int result = fd < 0 ? -1 : flock(fd, LOCK_EX | LOCK_NB);
    if (result != 0 && fd >= 0 && errno == EWOULDBLOCK) {
        run_warning("waiting for another run that is putting its files into %s", folder.c_str());
        while ((result = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
    }
    if (result == 0) {
        if (result_locks.held.empty()) std::atexit(release_locks);
        result_locks.held.push_back(fd);
        return;
    }
    run_warning("%s: cannot be locked (%s); a run into it at the same time could mix its files"
                " with these",
                folder.c_str(), std::strerror(errno));
    if (fd >= 0) close(fd);
}

// Whether two paths name one folder (a second lock on it would wait for the first).
bool same_folder(const std::string& a, const std::string& b)
{
    struct stat x {
    }, y{};
    return a == b || (stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 &&
                      x.st_dev == y.st_dev && x.st_ino == y.st_ino);
}

// Whether entry is ".NAME.XXXXXX" for the name: the temporary names of this program.
bool temporary_of(const std::string& entry, const std::string& name)
{
    const std::string head = "." + name + ".";
    if (entry.size() != head.size() + 6 || entry.compare(0, head.size(), head) != 0) return false;
    return std::all_of(entry.begin() + static_cast<long>(head.size()), entry.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

} // namespace

void lock_result_folders(const std::string& folder, const std::string& summary)
{
    const std::size_t slash = summary.rfind('/');
    const std::string other = slash == std::string::npos ? folder
                              : slash == 0               ? "/"
                                                         : summary.substr(0, slash);
    lock_folder(std::min(folder, other));
    if (!same_folder(folder, other)) lock_folder(std::max(folder, other));
}

void remove_stale_temporaries(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    DIR* d = opendir(folder.c_str());
    if (d == nullptr) return;
    while (const dirent* e = readdir(d)) {
        const std::string entry = folder + e->d_name;
        struct stat info {};
        if (temporary_of(e->d_name, name) && lstat(entry.c_str(), &info) == 0 &&
            (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            unlink(entry.c_str());
    }
    closedir(d);
}

std::string temporary_template(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name_at) + "." + path.substr(name_at) + ".XXXXXX";
}

void reset_result_locks()
{
    release_locks();
}
