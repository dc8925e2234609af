#include "run_program.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

scratch_dir::scratch_dir()
{
    char templ[] = "/tmp/zentri_test_XXXXXX";
    if (mkdtemp(templ) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

scratch_dir::~scratch_dir()
{
    const std::string cmd = "chmod -R u+w '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
    if (std::system(cmd.c_str()) != 0) {
    }
}

void scratch_dir::write(const std::string& name, const std::string& text) const
{
    std::ofstream(file(name), std::ios::binary) << text;
}

std::string scratch_dir::read(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool scratch_dir::exists(const std::string& name) const
{
    struct stat info {};
    return lstat(file(name).c_str(), &info) == 0;
}

std::vector<std::string> scratch_dir::names(const std::string& sub) const
{
    std::vector<std::string> out;
    if (DIR* d = opendir(file(sub).c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") out.push_back(name);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

namespace {

// Starts zentri in dir on args with the given descriptors as its standard
// streams, a file-size limit (when > 0) and an alarm after timeout_s (when > 0).
pid_t spawn(const scratch_dir& dir, const std::vector<std::string>& args, int in, int out,
            int err, int timeout_s, long file_limit)
{
    std::vector<char*> argv{const_cast<char*>("zentri")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(dir.path().c_str()) != 0) _exit(120);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (file_limit > 0) {
        const rlimit limit{static_cast<rlim_t>(file_limit), static_cast<rlim_t>(file_limit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    const rlimit no_core{0, 0}; // a signal that dumps core leaves no file in the folder
    setrlimit(RLIMIT_CORE, &no_core);
    signal(SIGXFSZ, SIG_DFL); // zentri itself makes a write past the limit fail
    signal(SIGPIPE, SIG_DFL);
    if (timeout_s > 0) alarm(static_cast<unsigned>(timeout_s));
    execv(ZENTRI_BINARY, argv.data());
    _exit(127);
}

// The exit code of a run's wait status: 128 + signal when a signal ended it.
int exit_code(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// One run of zentri in dir: standard input from input, output captured in files
// of names of its own, so that runs in parallel in one folder keep theirs apart.
program_run run_in(const scratch_dir& dir, const std::string& input,
                   const std::vector<std::string>& args, int timeout_s, long file_limit)
{
    static std::atomic<int> runs{0};
    const std::string tag = std::to_string(runs++);
    const std::string in_path = dir.file(".stdin" + tag);
    const std::string out_path = dir.file(".stdout" + tag);
    const std::string err_path = dir.file(".stderr" + tag);
    dir.write(".stdin" + tag, input);
    const int in = open(in_path.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = args.empty()
                        ? out
                        : open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = spawn(dir, args, in, out, err, timeout_s, file_limit);
    close(in);
    close(out);
    if (err != out) close(err);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    program_run run;
    run.console = dir.read(".stdout" + tag);
    run.errors = args.empty() ? "" : dir.read(".stderr" + tag);
    for (const std::string& p : {in_path, out_path, err_path}) std::remove(p.c_str());
    run.exit_status = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? -1 : exit_code(status);
    return run;
}

} // namespace

started_run start_zentri(const scratch_dir& dir, const std::vector<std::string>& args,
                         int out_fd)
{
    const std::string err_path = dir.file(".stderr_started");
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = spawn(dir, args, in, out_fd, err, 0, 0);
    close(in);
    close(err);
    return {pid, err_path};
}

program_run wait_for(const started_run& run)
{
    int status = 0;
    while (waitpid(run.pid, &status, 0) < 0 && errno == EINTR) {
    }
    program_run out{"", exit_code(status)};
    std::ifstream in(run.errors_file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    out.errors = text.str();
    std::remove(run.errors_file.c_str());
    return out;
}

program_run run_zentri(const scratch_dir& dir, const std::string& input, int timeout_s,
                       long file_limit)
{
    return run_in(dir, input, {}, timeout_s, file_limit);
}

program_run run_zentri_args(const scratch_dir& dir, const std::vector<std::string>& args,
                            long file_limit)
{
    return run_in(dir, "", args, 60, file_limit);
}

program_run run_on_record(const scratch_dir& dir, const std::string& record,
                          const std::string& answers_after_name)
{
    dir.write("rec.txt", record);
    return run_zentri(dir, "rec.txt\n" + answers_after_name);
}

int count_lines(const std::string& text)
{
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}
