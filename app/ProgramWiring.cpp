#include "app/ProgramWiring.h"

#include "app/WindowProviders.h"

#ifdef KESTREL_HAVE_HOST
#include "host/EmbeddedHost.h"
#endif
#ifdef KESTREL_HAVE_STATIONS
#include "stations/FrameIntake.h"
#include "stations/frmIncoming.h"
#endif

void wireProgram()
{
    [[maybe_unused]] WindowProviders &make = providers();
#ifdef KESTREL_HAVE_HOST
    make.host = [](const QString &hostFolder, QObject *parent, QString *error) {
        return createEmbeddedHost(hostFolder, parent, error);
    };
#endif
#ifdef KESTREL_HAVE_STATIONS
    make.terminal = []() -> QWidget * { return new frmIncoming; };
    make.frameIntake = [](HostApplication *host, QObject *owner) -> std::function<void(const QString &)> {
        auto *intake = new FrameIntake(*host, owner);
        return [intake](const QString &text) { intake->receive(text); };
    };
#endif
}
