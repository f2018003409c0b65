#include "core/WindowProviders.h"

WindowProviders &providers()
{
    static WindowProviders table;
    return table;
}
