#include "run/run.h"

int main()
{
    run_driver();
}
