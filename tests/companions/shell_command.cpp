// Running a shell command in a folder and keeping its output and exit status.
#include "shell_command.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

// The whole content of a file, empty when it cannot be read.
std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

command_result run_command(const std::string& dir, const std::string& command)
{
    const std::string out = dir + "/.cmd_out", err = dir + "/.cmd_err";
    const std::string line =
        "cd '" + dir + "' && (" + command + ") </dev/null >'" + out + "' 2>'" + err + "'";
    const int status = std::system(line.c_str());
    command_result r;
    r.exit_status = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

bool have_program(const std::string& name)
{
    return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}
