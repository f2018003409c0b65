#pragma once

#include <functional>

// Runs the work in a forked child whose files may not grow past the limit
// (RLIMIT_FSIZE; writes beyond it fail instead of raising SIGXFSZ). Returns
// 1 when the work returned true, 0 when false, -1 when the child died.
int runUnderFileSizeLimit(long bytes, const std::function<bool()> &work);
