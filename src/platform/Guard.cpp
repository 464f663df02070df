#include "Guard.h"

std::exception_ptr& Guard::pendingFailure()
{
    // Requests run on the UI thread; one failure waits at a time.
    static thread_local std::exception_ptr failure;
    return failure;
}
