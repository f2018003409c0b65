#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writes a whole file through a temporary file in the same folder, renamed
// over the target only when every byte was written and flushed. Any failure
// (a full disk, a file size limit, a folder that cannot be written) leaves the
// old file exactly as it was and gives the reason. Every writer of a whole
// file uses this; appends (logs, weather data) do not.
class WholeFileWriter
{
public:
    explicit WholeFileWriter(const QString &path);
    ~WholeFileWriter();

    bool open(QString *errorText = nullptr);
    // Keeps the first failure; later writes after one are ignored.
    void write(const QByteArray &bytes);
    // Flushes and renames over the target; false with the reason otherwise.
    bool commit(QString *errorText = nullptr);

    // The whole job in one call.
    static bool save(const QString &path, const QByteArray &bytes, QString *errorText = nullptr);

private:
    QSaveFile m_file;
    QString m_error;
    bool m_open = false;
};
