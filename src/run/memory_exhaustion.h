// Running out of memory ends the run as any failure does: a message, status 1,
// and the scripted run's temporary files and made folders removed.
#pragma once

// Makes a failed allocation, on any thread, end the process that way.
void end_run_when_memory_runs_out();
