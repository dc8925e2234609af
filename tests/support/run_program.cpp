#include "run_program.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
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

std::vector<std::string> scratch_dir::names() const
{
    std::vector<std::string> out;
    if (DIR* d = opendir(path_.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") out.push_back(name);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

program_run run_zentri(const scratch_dir& dir, const std::string& input, int timeout_s)
{
    const std::string in_path = dir.file(".stdin");
    const std::string out_path = dir.file(".stdout");
    dir.write(".stdin", input);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path().c_str()) != 0) _exit(120);
        const int in = open(in_path.c_str(), O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        alarm(static_cast<unsigned>(timeout_s));
        execl(ZENTRI_BINARY, "zentri", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    program_run run;
    run.console = dir.read(".stdout");
    std::remove(in_path.c_str());
    std::remove(out_path.c_str());
    if (WIFEXITED(status))
        run.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        run.exit_status = -1;
    else
        run.exit_status = 128 + WTERMSIG(status);
    return run;
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
