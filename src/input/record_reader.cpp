// Choosing the record's reader once, as the record is opened.
#include "input/record_reader.h"
#include "core/analysis_state.h"
#include "input/pair_reader_choice.h"

reader_choice_state reader_choice{};

void choose_record_reader()
{
    if (st.sound)
        reader_choice.in_use = &sound_reader;
    else if (st.column != 0)
        reader_choice.in_use = &column_reader;
    else
        reader_choice.in_use = &pair_reader();
}

const record_reader& record_reader_in_use()
{
    if (reader_choice.in_use == nullptr) choose_record_reader();
    return *reader_choice.in_use;
}

void reset_reader_choice()
{
    reader_choice = reader_choice_state{};
}

void no_channel_select(int /*channel*/)
{}

void no_channel_sums(int /*channel*/, double& sum, double& sum_sq)
{
    sum = 0.;
    sum_sq = 0.;
}

void nothing_to_close()
{}
