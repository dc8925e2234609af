// A fresh folder made the current directory while a test writes files into it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class work_folder {
public:
    // Makes the folder and moves into it.
    work_folder()
    {
        char templ[] = "/tmp/zentri_out_XXXXXX";
        if (mkdtemp(templ) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = templ;
        char here[4096];
        if (getcwd(here, sizeof here) == nullptr || chdir(path_.c_str()) != 0)
            throw std::runtime_error("cannot enter the work folder");
        previous_ = here;
    }
    // Moves back and removes the folder with everything in it.
    ~work_folder()
    {
        if (chdir(previous_.c_str()) != 0) {
        }
        const std::string cmd = "rm -rf '" + path_ + "'";
        if (std::system(cmd.c_str()) != 0) {
        }
    }
    work_folder(const work_folder&) = delete;
    work_folder& operator=(const work_folder&) = delete;

    // Whole contents of a file of the folder ("" when missing).
    std::string read(const std::string& name) const
    {
        std::ifstream in(path_ + "/" + name, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Whether an entry of that name exists (links are not followed).
    bool exists(const std::string& name) const
    {
        struct stat info {};
        return lstat((path_ + "/" + name).c_str(), &info) == 0;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};
