#include "app/ProgramWiring.h"

#include "app/WindowProviders.h"

#ifdef KESTREL_HAVE_HOST
#include "host/EmbeddedHost.h"
#endif

void wireProgram()
{
    WindowProviders &make = providers();
#ifdef KESTREL_HAVE_HOST
    make.host = [](const QString &hostFolder, QObject *parent, QString *error) {
        return createEmbeddedHost(hostFolder, parent, error);
    };
#else
    (void)make;
#endif
}
