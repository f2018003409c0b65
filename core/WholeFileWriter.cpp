#include "core/WholeFileWriter.h"

WholeFileWriter::WholeFileWriter(const QString &path)
    : m_file(path)
{
}

WholeFileWriter::~WholeFileWriter()
{
    if (m_open)
        m_file.cancelWriting();
}

bool WholeFileWriter::open(QString *errorText)
{
    m_open = m_file.open(QIODevice::WriteOnly);
    if (!m_open) {
        m_error = m_file.errorString();
        if (errorText)
            *errorText = m_error;
    }
    return m_open;
}

void WholeFileWriter::write(const QByteArray &bytes)
{
    if (!m_open || !m_error.isEmpty() || bytes.isEmpty())
        return;
    // A short count is a failure too: QSaveFile would otherwise commit the
    // part that fitted and report success.
    if (m_file.write(bytes) != bytes.size())
        m_error = m_file.errorString().isEmpty() ? QStringLiteral("The file could not be written whole")
                                                 : m_file.errorString();
}

bool WholeFileWriter::commit(QString *errorText)
{
    if (!m_open) {
        if (errorText)
            *errorText = m_error.isEmpty() ? QStringLiteral("The file was not opened") : m_error;
        return false;
    }
    if (m_error.isEmpty() && !m_file.flush())
        m_error = m_file.errorString();
    if (!m_error.isEmpty()) {
        m_file.cancelWriting();
        m_open = false;
        if (errorText)
            *errorText = m_error;
        return false;
    }
    m_open = false;
    if (!m_file.commit()) {
        if (errorText)
            *errorText = m_file.errorString();
        return false;
    }
    return true;
}

bool WholeFileWriter::save(const QString &path, const QByteArray &bytes, QString *errorText)
{
    WholeFileWriter writer(path);
    if (!writer.open(errorText))
        return false;
    writer.write(bytes);
    return writer.commit(errorText);
}
