// All-or-nothing renaming of staged files: backups of what they replace, and
// the backups put back after any failure.
#include "output/set_replacement.h"
#include "output/result_lock.h"
#include "output/staged_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Flushes an open file or folder to the disk; one whose file system cannot is no failure.
bool synced(int fd)
{
    return fsync(fd) == 0 || errno == EINVAL;
}

// A free name ".NAME.XXXXXX" beside path, or "" (errno set) when none can be made.
std::string free_name(const std::string& path)
{
    std::string name = temporary_template(path);
    const int fd = mkstemp(name.data());
    if (fd < 0) return "";
    close(fd);
    unlink(name.c_str());
    return name;
}

// Keeps the file at path under a free name: a hard link, or, where the file
// system has none, the file itself moved there. backup is "" when nothing is
// at path; returns false (errno set) when the file cannot be kept.
bool keep_backup(const std::string& path, std::string& backup)
{
    backup.clear();
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = free_name(path);
        if (name.empty()) return false;
        if (link(path.c_str(), name.c_str()) != 0) {
            if (errno == EEXIST) continue; // taken meanwhile: another name
            if (std::rename(path.c_str(), name.c_str()) != 0) return false;
        }
        backup = name;
        return true;
    }
    return false;
}

// Gives path back what it held: its backup, or nothing when the new file replaced nothing.
void put_back(const staged_file& f, const std::string& backup, bool renamed)
{
    if (backup.empty()) {
        if (renamed) unlink(f.path.c_str());
    } else if (std::rename(backup.c_str(), f.path.c_str()) == 0) {
        unlink(backup.c_str()); // still there when it was a link to the file at path
    }
}

// Flushes the folders of the files to the disk; returns the message of a failure or "".
std::string sync_folders(const std::vector<staged_file>& files)
{
    std::set<std::string> folders;
    for (const staged_file& f : files) folders.insert(f.path.substr(0, f.path.rfind('/') + 1));
    for (const std::string& folder : folders) {
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool ok = fd >= 0 && synced(fd);
        const int error = errno;
        if (fd >= 0) close(fd);
        if (!ok) return failed(folder, error);
    }
    return "";
}

} // namespace

std::string sync_to_disk(const std::vector<staged_file>& files)
{
    for (const staged_file& f : files)
        if (!synced(f.sync_fd)) return failed(f.path, errno);
    return "";
}

std::string replace_as_one_set(const std::vector<staged_file>& files)
{
    std::vector<std::string> backups(files.size());
    std::string error;
    std::size_t renamed = 0;
    for (; renamed < files.size(); ++renamed) {
        const staged_file& f = files[renamed];
        if (!keep_backup(f.path, backups[renamed])) {
            error = failed(f.path, errno);
            break;
        }
        if (std::rename(f.temp.c_str(), f.path.c_str()) != 0) {
            error = failed(f.path, errno);
            put_back(f, backups[renamed], false);
            break;
        }
    }
    if (error.empty()) error = sync_folders(files);
    if (!error.empty()) {
        for (std::size_t i = 0; i < renamed; ++i) put_back(files[i], backups[i], true);
        sync_folders(files);
        return error;
    }
    for (const std::string& backup : backups)
        if (!backup.empty()) unlink(backup.c_str());
    return "";
}
