// Program-wide instances of the ports: the real ones unless a test installed its own.
#include "core/Clock.h"
#include "core/IniSettingsStore.h"
#include "core/Prompts.h"
#include "core/WidgetPrompts.h"

#include <cstdio>

namespace {

// For unattended runs (KESTREL_PROMPTS=stderr): messages go to standard
// error, questions take their first answer, file choices are cancelled.
class StderrPrompts : public Prompts
{
public:
    Answer message(const QString &text, const QString &title, Buttons buttons, Icon) override
    {
        fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    bool choosePrinter(QPrinter *, const QString &) override { return false; }
    bool interactive() const override { return false; }
};

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
    static StderrPrompts unattended;
    static const bool useStderr = qEnvironmentVariable("KESTREL_PROMPTS") == QLatin1String("stderr");
    if (g_prompts)
        return *g_prompts;
    return useStderr ? static_cast<Prompts &>(unattended) : real;
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
