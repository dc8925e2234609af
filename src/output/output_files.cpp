// The dialogue's output files: their names in the file slots, the announcement, their creation.
#include "output/file_sets.h"
#include "output/output.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "spectrum/finished_psd.h"

#include <cstring>

namespace {

// The file set of the run's quantity.
const file_set& run_file_set()
{
    return file_set_of(st.input_type);
}

} // namespace

int last_slot()
{
    return 1 + run_file_set().count;
}

void name_set_files(const file_set& set)
{
    for (int i = 0; i < set.count; ++i) std::strcpy(st.fname[2 + i], set.files[i].name);
}

void name_output_files()
{
    const file_set& set = run_file_set();
    name_set_files(set);
    zprint("%s", set.title);
    for (int i = 0; i < set.count; ++i) zprint("%s", set.files[i].announcement);
}

void create_output_files()
{
    name_output_files();
    for (int slot = 2; slot <= last_slot(); ++slot) {
        st.fp[slot] = std::fopen(st.fname[slot], "w");
        if (st.fp[slot] == nullptr) zprint(" Failed to open file: %s \n", st.fname[slot]);
    }
}

void output_stage()
{
    finish_psd();
    create_output_files();
    write_spectra();
}
