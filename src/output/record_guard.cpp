// Refusing an output that is the record itself.
#include "output/record_guard.h"
#include "output/file_sets.h"
#include "core/analysis_state.h"
#include "core/end_run.h"

#include <sys/stat.h>

namespace {

// A name in a folder, as given: "folder/name".
std::string path_below(const std::string& folder, const std::string& name)
{
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

// The paths, as given, of every file the run would write.
std::vector<std::string> output_paths(const std::string& folder,
                                      const std::vector<std::string>& channels,
                                      const std::string& summary)
{
    std::vector<std::string> folders;
    folders.reserve(channels.size() + 1);
    for (const std::string& c : channels) folders.push_back(path_below(folder, c));
    if (folders.empty()) folders.push_back(folder);
    std::vector<std::string> paths;
    const file_set& set = file_set_of(st.input_type);
    for (const std::string& f : folders)
        for (int i = 0; i < set.count; ++i) paths.push_back(path_below(f, set.files[i].name));
    if (!summary.empty()) paths.push_back(summary);
    return paths;
}

} // namespace

void refuse_record_as_output(const std::string& record, const std::string& folder,
                             const std::vector<std::string>& channels, const std::string& summary)
{
    struct stat rec {};
    if (st.fp[1] == nullptr || fstat(fileno(st.fp[1]), &rec) != 0) return;
    for (const std::string& path : output_paths(folder, channels, summary)) {
        struct stat out {};
        if (stat(path.c_str(), &out) != 0 || out.st_dev != rec.st_dev || out.st_ino != rec.st_ino)
            continue;
        std::string message = path;
        message += ": the same file as the record ";
        message += record;
        message += ", which its results would replace; nothing was written";
        run_failed(message);
    }
}
