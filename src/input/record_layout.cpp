// Checking a scripted run's column layout against the record's first data line.
#include "input/record_layout.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/column_reader.h"
#include "input/sound_reader.h"

namespace {

// Ends the run when the reference column is beyond the line's fields (a sound
// file's channels); warns when it is the only channel.
void check_reference_column(int fields)
{
    if (st.reference == 0) return;
    if (st.reference > fields && st.sound)
        end_run("\n\n Error: --reference %d: the sound file has only %d channel%s. \n",
                st.reference, fields, fields == 1 ? "" : "s");
    if (st.reference > fields)
        end_run("\n\n Error: --reference %d: the record's first data line has only %d fields. \n",
                st.reference, fields);
    if (st.channels == 1)
        run_warning("\n Warning: --reference %d: the record has no other channel to compare"
                    " with it. \n",
                    st.reference);
}

} // namespace

void prepare_layout(bool every_column)
{
    if (st.sound) {
        sound_layout(every_column);
        return check_reference_column(st.channels);
    }
    if (st.column == 0) return;
    const int fields = column_count();
    if (fields == 0) return; // no data line: the survey says the record is too short
    if (every_column) {
        st.channels = fields - st.column + 1;
        if (st.channels < 1 || st.channels > max_channels) {
            end_run("\n\n Error: --columns all: the record's first data line has %d fields, so %d"
                    " amplitude columns; from 1 to %d can be read at once. \n",
                    fields, st.channels, max_channels);
        }
        check_reference_column(fields);
        return;
    }
    if (st.column > fields) {
        end_run("\n\n Error: --column %d: the record's first data line has only %d fields. \n",
                st.column, fields);
    }
}
