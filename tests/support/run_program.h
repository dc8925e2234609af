// Runs the built zentri in a scratch folder with answers on its standard input.
#pragma once

#include <string>
#include <vector>

// Result of one run of the program.
struct program_run {
    std::string console; // everything it printed
    int exit_status;     // exit code, or 128+signal, or -1 when it had to be killed
};

// A fresh scratch folder, removed with everything in it when the object goes.
class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& text) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    std::vector<std::string> names() const; // entries of the folder, sorted

private:
    std::string path_;
};

// Runs zentri in dir with the given standard input; kills it after timeout_s seconds.
program_run run_zentri(const scratch_dir& dir, const std::string& input, int timeout_s = 60);

// Writes record as rec.txt in dir, then runs zentri there on answers that start with that name.
program_run run_on_record(const scratch_dir& dir, const std::string& record,
                          const std::string& answers_after_name);

// Counts the lines of a text.
int count_lines(const std::string& text);
