// Making the result folders and refusing links that another user planted on the way.
#include "output/result_folders.h"
#include "core/end_run.h"
#include "output/run_leftovers.h"
#include "output/staged_files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Ends the run when part is a link that belongs neither to this user nor to root.
void refuse_foreign_link(const std::string& what, const std::string& part)
{
    struct stat info {};
    if (lstat(part.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return;
    if (info.st_uid == geteuid() || info.st_uid == 0) return;
    give_up((what.empty() ? part : what + ": " + part) +
            " is a link that belongs to another user (uid " + std::to_string(info.st_uid) +
            "), so it is not followed" + nothing_written);
}

// Calls each(part) for every leading part of path that ends at a '/' and for path itself.
template <typename F> void for_each_part(const std::string& path, F each)
{
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        each(path.substr(0, at));
        if (at == std::string::npos) return;
    }
}

} // namespace

void refuse_foreign_links(const std::string& what, const std::string& folder)
{
    if (!folder.empty())
        for_each_part(folder,
                      [&what](const std::string& part) { refuse_foreign_link(what, part); });
}

std::string make_output_folder(const std::string& given)
{
    const std::string what = "-o " + given;
    for_each_part(given, [&what](const std::string& part) {
        if (mkdir(part.c_str(), 0777) == 0)
            leave_folder(part);
        else if (errno != EEXIST)
            give_up(what + ": " + part + ": " + std::strerror(errno));
        refuse_foreign_link(what, part);
    });
    struct stat info {};
    char real[PATH_MAX];
    if (stat(given.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        realpath(given.c_str(), real) == nullptr)
        give_up(what + ": not a folder");
    return real;
}

void make_result_folder(const std::string& folder)
{
    if (mkdir(folder.c_str(), 0777) == 0)
        leave_folder(folder);
    else if (errno != EEXIST)
        give_up(failed(folder, errno));
    refuse_foreign_link("", folder);
}
