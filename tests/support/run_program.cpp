// Scratch folders and runs of the built program for the end-to-end tests.
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
#include <functional>
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

// The path in the environment variable name, else the built one.
std::string program_path(const char* name, const char* built)
{
    const char* given = std::getenv(name);
    return given != nullptr && *given != '\0' ? given : built;
}

} // namespace

std::string zentri_binary()
{
    return program_path("ZENTRI_TEST_BINARY", ZENTRI_BINARY);
}

std::string zentri_ref_binary()
{
    return program_path("ZENTRI_TEST_REF_BINARY", ZENTRI_REF_BINARY);
}

namespace {

// One run of zentri in dir: standard input from input, output captured in files
// of names of its own, so that runs in parallel in one folder keep theirs apart.
program_run run_in(const scratch_dir& dir, const std::string& input,
                   const std::vector<std::string>& args, int timeout_s, long file_limit,
                   int out_fd = -1, const std::function<void(int)>& while_running = {})
{
    static std::atomic<int> runs{0};
    const std::string tag = std::to_string(runs++);
    const std::string in_path = dir.file(".stdin" + tag);
    const std::string out_path = dir.file(".stdout" + tag);
    const std::string err_path = dir.file(".stderr" + tag);
    dir.write(".stdin" + tag, input);
    std::vector<char*> argv{const_cast<char*>("zentri")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string binary = zentri_binary(); // looked up before the fork, not in the child
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path().c_str()) != 0) _exit(120);
        const int in = open(in_path.c_str(), O_RDONLY);
        const int out =
            out_fd >= 0 ? out_fd : open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err =
            args.empty() ? out : open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
        alarm(static_cast<unsigned>(timeout_s));
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    if (while_running) while_running(pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    program_run run;
    run.console = dir.read(".stdout" + tag);
    run.errors = args.empty() ? "" : dir.read(".stderr" + tag);
    for (const std::string& p : {in_path, out_path, err_path}) std::remove(p.c_str());
    if (WIFEXITED(status))
        run.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        run.exit_status = -1;
    else
        run.exit_status = 128 + WTERMSIG(status);
    return run;
}

} // namespace

program_run run_zentri(const scratch_dir& dir, const std::string& input, int timeout_s,
                       long file_limit)
{
    return run_in(dir, input, {}, timeout_s, file_limit);
}

program_run run_zentri_args(const scratch_dir& dir, const std::vector<std::string>& args,
                            long file_limit, int out_fd,
                            const std::function<void(int)>& while_running)
{
    return run_in(dir, "", args, 60, file_limit, out_fd, while_running);
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

int run_shell(const scratch_dir& dir, const std::string& command)
{
    const std::string line = "cd '" + dir.path() + "' && ZENTRI='" + zentri_binary() + "' && " +
                             "{ " + command + "; } >console.txt 2>errors.txt";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
