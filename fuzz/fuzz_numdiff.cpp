/* Differential fuzz target: the old number code against the new one. */
#define NUMDIFF_ABORT
#include "numdiff_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CompareInput(data, size);
    return 0;
}
