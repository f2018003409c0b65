#include "TempDirs.h"

#include <QtGlobal>

TempDirs::TempDirs()
    : m_oldData(qgetenv("KESTREL_DATA_DIR"))
    , m_oldConfig(qgetenv("KESTREL_CONFIG_DIR"))
{
    qputenv("KESTREL_DATA_DIR", m_data.path().toLocal8Bit());
    qputenv("KESTREL_CONFIG_DIR", m_config.path().toLocal8Bit());
}

TempDirs::~TempDirs()
{
    qputenv("KESTREL_DATA_DIR", m_oldData);
    qputenv("KESTREL_CONFIG_DIR", m_oldConfig);
}
