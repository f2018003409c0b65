#include "core/Utilities.h"

#include "core/ErrorReport.h"
#include "core/MainWindowPort.h"
#include "core/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>


QString GetDataFolder()
{
    const QString overridden = qEnvironmentVariable("KESTREL_DATA_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    const QString portable = QCoreApplication::applicationDirPath() + QStringLiteral("/Kestrel");
    if (QFileInfo(portable).isDir())
        return portable;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Kestrel");
}

void CreateDataFolders()
{
    const QDir data(GetDataFolder());
    for (const char *sub : {"Keps", "Observer", "LogFiles", "Saved Lists", "WxData", "Captures",
                            "Statistics"})
        data.mkpath(QLatin1String(sub));
}

bool FileExists(const QString &path)
{
    QString p = path;
    if (p.endsWith(u'/'))
        p.chop(1);
    QFileInfo info(p);
    if (!info.isFile())
        return false;
    QFile file(p);
    return file.open(QIODevice::ReadOnly);
}

QString GetFilename(const QString &path)
{
    QString p = path;
    if (p.endsWith(u'/'))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf(u'/');
    return slash < 0 ? QString() : p.mid(slash + 1);
}

QString GetFilenameNoExt(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString GetFilenameExt(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString WithDefaultExtension(const QString &path, const QString &filter)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (name.isEmpty() || name.contains(u'.'))
        return path;
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? path + u'.' + match.captured(1) : path;
}

QString GetShortPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical;
}

QString LongDirFix(const QString &path, qint16 maximum)
{
    if (path.size() <= maximum)
        return path;
    // Positions are 1-based as in the rule: look for the first "/" from
    // (length - (maximum - 6)) up to the length.
    const qsizetype m = qsizetype(maximum) - 6;
    for (qsizetype i = qMax<qsizetype>(1, path.size() - m); i <= path.size(); ++i)
        if (path.at(i - 1) == u'/')
            return path.left(3) + QStringLiteral("...") + path.mid(i - 1);
    return path.left(3) + QStringLiteral("...");
}

QString BrowseForFolder(QWidget *, const QString &title)
{
    return Prompts::instance().chooseFolder(title, QString());
}

QString GetField(const QString &line, qint16 n)
{
    QString s = line;
    for (int j = 1; j < n; ++j) {
        if (s.startsWith(u'"')) {
            const qsizetype close = s.indexOf(u'"', 1);
            if (close < 0)
                continue;
            s = close == s.size() - 1 ? QString() : s.mid(close + 2);
        } else {
            const qsizetype comma = s.indexOf(u',');
            if (comma >= 0)
                s = s.mid(comma + 1);
        }
    }
    qsizetype end;
    if (s.startsWith(u'"')) {
        s = s.mid(1);
        end = s.indexOf(u'"');
    } else {
        end = s.indexOf(u',');
    }
    if (end < 0)
        return s;
    return s.left(end);
}

QStringList SplitText(const QString &text, QChar separator)
{
    QStringList items;
    QString rest = text + separator;
    while (!rest.isEmpty() && rest != QString(QChar(0))) {
        const qsizetype p = rest.indexOf(separator);
        if (p < 0) {
            items << rest.trimmed();
            break;
        }
        items << rest.left(p).trimmed();
        rest = rest.mid(p + 1);
    }
    return items;
}

void RemoveText(QString &text, const QString &remove)
{
    if (remove.isEmpty())
        return;
    qsizetype at;
    while ((at = text.indexOf(remove)) >= 0) {
        text.remove(at, remove.size());
        QCoreApplication::processEvents();
    }
}

bool IsNumericKey(qint16 key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == 9 || key == 13 || key == 3 || key == 22;
}

void CentreOnMain(QWidget *window)
{
    QWidget *main = MainWindowPort::widget();
    if (!window || !main || window == main)
        return;
    const QRect outer = main->frameGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(outer.left() + (outer.width() - size.width()) / 2,
                 outer.top() + (outer.height() - size.height()) / 2);
}

void SetTopMost(QWidget *window, bool on)
{
    if (!window)
        return;
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->show();
}

