#pragma once

// Decoder buffers of tens of megabytes come and go on several threads. Without this, the C
// library keeps freed ones in per-thread pools, so a few decodes one after another hold memory
// together that the decode budget allowed only one at a time.
namespace LargeBlocks {

// From now on, blocks of a few megabytes and more go back to the system when freed. Call once.
void returnToTheSystem();

} // namespace LargeBlocks
