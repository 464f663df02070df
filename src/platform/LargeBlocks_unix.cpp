#include "LargeBlocks.h"

#include <malloc.h>

void LargeBlocks::returnToTheSystem()
{
    // A fixed threshold also stops glibc from raising it after each large free.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
}
