// The dialogue's output stage: the PSD finished, its files made and written.
#include "run/output_stage.h"
#include "output/output_files.h"
#include "output/spectrum_writers.h"
#include "run/finished_views.h"
#include "spectrum/finished_psd.h"

void output_stage()
{
    finish_psd();
    create_output_files();
    write_spectra(finished_psd_view());
}
