// The program's entry: the dialogue without arguments, the scripted run with them.
#include "platform/ending_signals.h"
#include "run/memory_exhaustion.h"
#include "run/run_driver.h"
#include "run/scripted_run.h"

int main(int argc, char** argv)
{
    ignore_file_size_signal(); // a file-size limit makes a write fail, reported as such
    end_run_when_memory_runs_out();
    // Without arguments zentri is the interactive dialogue; with any, the scripted run.
    if (argc > 1) scripted_run(argc, argv);
    run_driver();
}
