#include "hostlogs/LogTransfer.h"

#include "core/WholeFileWriter.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace LogTransfer {

namespace {

constexpr qint64 kChunk = 1 << 20;

struct Copied
{
    qint64 size = 0;
    QDateTime modified;
    QByteArray hash;
};

// The hash of a file's bytes; false when it cannot be read whole.
bool hashOf(const QString &path, QByteArray *hash, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QCryptographicHash sum(QCryptographicHash::Sha256);
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
            *error = file.errorString();
            return false;
        }
        sum.addData(chunk);
    }
    *hash = sum.result();
    return true;
}

bool copyVerified(const QString &sourcePath, const QString &targetFolder, Copied *copied, QString *error)
{
    const QFileInfo source(sourcePath);
    if (!source.isFile()) {
        *error = QStringLiteral("%1 does not exist").arg(source.fileName());
        return false;
    }
    if (targetFolder.isEmpty()) {
        *error = QStringLiteral("No folder is chosen to copy to");
        return false;
    }
    const QString targetPath = QDir(targetFolder).filePath(source.fileName());
    const QFileInfo target(targetPath);
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath()) {
        *error = QStringLiteral("%1 is already in that folder").arg(source.fileName());
        return false;
    }
    if (!QDir().mkpath(targetFolder)) {
        *error = QStringLiteral("The folder %1 cannot be created").arg(targetFolder);
        return false;
    }

    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    copied->modified = source.lastModified();
    // Written under a name of its own, then renamed over the target: a link
    // of the target's name is replaced, never written through to what it
    // points at (the whole-file writer would follow it).
    QString partPath;
    {
        QTemporaryFile part(QDir(targetFolder).filePath(QStringLiteral(".XXXXXX.part")));
        part.setAutoRemove(false);
        if (!part.open()) {
            *error = part.errorString();
            return false;
        }
        partPath = part.fileName();
    }
    // A temporary file is private to its owner; a copy is as open as its original.
    QFile::setPermissions(partPath, source.permissions());
    const auto removePart = qScopeGuard([&] { QFile::remove(partPath); });
    WholeFileWriter out(partPath);
    if (!out.open(error))
        return false;
    QCryptographicHash sum(QCryptographicHash::Sha256);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return false;  // the writer throws its temporary file away
        }
        sum.addData(chunk);
        out.write(chunk);
        copied->size += chunk.size();
    }
    if (!out.commit(error))
        return false;
    copied->hash = sum.result();

    QByteArray readBack;
    if (!hashOf(partPath, &readBack, error))
        return false;
    if (readBack != copied->hash) {
        *error = QStringLiteral("The copy of %1 does not read back the same").arg(source.fileName());
        return false;
    }
    // The copy keeps the log's time, so that a later copy is not mistaken for newer lines.
    {
        QFile stamped(partPath);
        if (stamped.open(QIODevice::ReadWrite))
            stamped.setFileTime(copied->modified, QFileDevice::FileModificationTime);
    }
    if (::rename(QFile::encodeName(partPath).constData(), QFile::encodeName(targetPath).constData()) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

QStringList filesIn(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

bool newerThere(const QString &sourcePath, const QString &targetFolder)
{
    const QFileInfo source(sourcePath);
    const QFileInfo target(QDir(targetFolder).filePath(source.fileName()));
    return target.exists() && source.exists() && target.lastModified() > source.lastModified();
}

bool copyFile(const QString &sourcePath, const QString &targetFolder, QString *error)
{
    Copied copied;
    return copyVerified(sourcePath, targetFolder, &copied, error);
}

bool moveFile(const QString &sourcePath, const QString &targetFolder, QString *error)
{
    Copied copied;
    if (!copyVerified(sourcePath, targetFolder, &copied, error))
        return false;
    // A log still being written may have grown while it was copied: then the
    // new lines exist only here, and the source stays.
    const QFileInfo now(sourcePath);
    if (now.size() != copied.size || now.lastModified() != copied.modified) {
        *error = QStringLiteral("%1 changed while it was copied; it was copied but not removed")
                     .arg(now.fileName());
        return false;
    }
    QFile source(sourcePath);
    if (!source.remove()) {
        *error = QStringLiteral("%1 was copied but could not be removed: %2").arg(now.fileName(), source.errorString());
        return false;
    }
    return true;
}

} // namespace LogTransfer
