// The result files of each quantity, as one table: per file its name, its line
// in the dialogue's announcement, what it holds and in which unit. The writers,
// the JSON summary's file entries and the plotting companion's labels all read it.
#pragma once

#include <string>

// What a result file holds.
enum class file_content { psd, rms, peak, zero_peak, peak_peak };

// One result file.
struct result_file {
    const char* name;         // "A_G2Hz.psd"
    const char* announcement; // its line in the announcement of the files
    file_content content;     // what each row's value is
    int unit;                 // code of its unit in the quantity's table (volts: 1)
};

// The files of one quantity, in slot order from slot 2.
struct file_set {
    const char* title; // the announcement's title line
    int quantity;      // input_type 1..6
    int count;         // files in the set
    result_file files[14];
};

// The file set of a quantity 1..6.
const file_set& file_set_of(int input_type);

// "PSD", "RMS magnitude", "peak magnitude", "zero-peak magnitude" or "peak-peak magnitude".
const char* content_name(file_content content);

// The label of a file's unit: "G^2/Hz" or "(m/sec^2)^2/Hz" for a PSD, "G" for a magnitude.
std::string file_unit(int input_type, const result_file& file);

// The value axis of a picture of the file, from its announcement: "PSD (G^2/Hz)", "ips RMS".
std::string plot_label(const result_file& file);
