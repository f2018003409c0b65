// Program-wide instances of the ports: the real ones unless a test installed its own.
#include "app/Clock.h"
#include "app/IniSettingsStore.h"
#include "app/Prompts.h"
#include "app/WidgetPrompts.h"

namespace {

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

Prompts *g_prompts = nullptr;
Clock *g_clock = nullptr;
SettingsStore *g_settings = nullptr;

} // namespace

Prompts &Prompts::instance()
{
    static WidgetPrompts real;
    return g_prompts ? *g_prompts : real;
}

void Prompts::install(Prompts *prompts) { g_prompts = prompts; }

Clock &Clock::instance()
{
    static SystemClock real;
    return g_clock ? *g_clock : real;
}

void Clock::install(Clock *clock) { g_clock = clock; }

SettingsStore &SettingsStore::instance()
{
    static IniSettingsStore real;
    return g_settings ? *g_settings : real;
}

void SettingsStore::install(SettingsStore *store) { g_settings = store; }
