#include "LargeBlocks.h"

// The Windows heap returns large blocks on its own.
void LargeBlocks::returnToTheSystem() {}
