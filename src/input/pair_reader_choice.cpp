// The reader of plain pairs of this executable: the only file compiled once for
// zentri and once, with ZENTRI_REFERENCE_READER, for zentri_ref.
#include "input/pair_reader_choice.h"

const record_reader& pair_reader()
{
#ifdef ZENTRI_REFERENCE_READER
    return reference_reader;
#else
    return fast_scanner;
#endif
}
