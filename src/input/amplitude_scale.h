// --scale on what the survey learnt of the record. The survey reads the
// amplitudes as they are in the file; the segment reads multiply them by the
// factor (record_format.h), so the survey's figures are scaled here after it.
#pragma once

// After the survey of a run with --scale: ends the run when an amplitude times
// the factor is beyond single precision, then scales the record's mean and rms.
void scale_survey_figures();

// Multiplies st.rec_mean by the factor and st.rec_rms by its magnitude; does
// nothing without --scale.
void scale_record_figures();
