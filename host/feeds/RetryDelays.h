#pragma once

#include <algorithm>

// How long a feed waits before it tries its connection or device again:
// 1 s, doubling up to a minute, and back to the first once it is up, so a
// peer that is gone for long is not called every second.
struct RetryDelays
{
    int firstMs = 1000;
    int maxMs = 60000;
    int nextMs = 1000;

    void set(int first, int most)
    {
        firstMs = first;
        maxMs = most;
        nextMs = first;
    }
    void reset() { nextMs = firstMs; }
    // The wait to use now; the one after it is twice as long.
    int take()
    {
        const int wait = nextMs;
        nextMs = std::min(nextMs * 2, maxMs);
        return wait;
    }
};
