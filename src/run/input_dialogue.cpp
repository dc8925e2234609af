// The input dialogue: the record's name, its quantity and its unit.
#include "run/input_dialogue.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "core/quantities.h"
#include "input/open_record.h"
#include "platform/console_format.h"
#include "platform/console_input.h"

namespace {

// Reads a menu answer from 1 to last; anything else ends the run with "Input Error".
int read_menu_answer(int last)
{
    long long v = 0;
    if (read_integer_answer(&v) != answer_ok || v < 1 || v > last) input_error();
    return static_cast<int>(v);
}

// Reads the input file name, the whole answer line with its outer blanks
// trimmed, into fname slot 1; a name too long for it is refused.
void read_input_name()
{
    const answer_result r = read_line_answer(st.fname[1], sizeof st.fname[1]);
    if (r == answer_end) input_error();
    if (r == answer_too_long)
        end_run("\n The file name is longer than 259 characters and cannot be used. \n");
}

// Opens the input file for reading; a folder, pipe or device is refused, as
// the record is read twice.
void open_input_file()
{
    const int error = open_record(st.fname[1]);
    if (error == 0) {
        zprint(" File: %s opened. \n", st.fname[1]);
        return;
    }
    zprint(" Failed to open file: %s \n", st.fname[1]);
    if (error == not_regular_file)
        end_run("\n The input must be a regular file that can be read twice, not a folder,"
                " pipe or device. \n");
    end_run("%s", "");
}

} // namespace

void input_dialogue()
{
    zprint("\n The input file must have two columns:  time(sec) & amplitude ");
    zprint("\n Enter input filename\n");
    read_input_name();
    open_input_file();
    zprint("\n\n Specify Input File Type: ");
    zprint("\n 1=acceleration  2=velocity  3=displacement  4=force  5=pressure  6=volts \n");
    st.input_type = read_menu_answer(volts);
    if (st.input_type == volts) return;
    zprint("\n\n Select Input Unit: ");
    zprint("%s", quantity_of(st.input_type)->unit_menu);
    st.input_unit = read_menu_answer(unit_count(st.input_type));
}
