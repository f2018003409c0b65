#include "orbiter/PassSearch.h"

namespace orbiter {

PassesFound findPasses(PassSearch search)
{
    PassesFound found;
    found.entry = search.entry;
    found.epoch = search.epoch;
    found.time = search.time;
    PassFinder own(search.model, search.own);
    if (search.up)
        found.current = own.current(search.time, search.window);
    found.next = own.next(search.time, search.window);
    if (!search.mutual.empty()) {
        PassFinder shared(search.model, search.mutual);
        found.nextMutual = shared.next(search.time, search.window);
    }
    return found;
}

} // namespace orbiter
