#include "host/ReplayFeed.h"

#include "core/LineText.h"
#include "host/Tnc2.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr qint64 MaxReplayFile = 64 * 1024 * 1024;
constexpr int LoopPauseMs = 2000;
}

ReplayFeed::ReplayFeed(const FeedSettings &settings, QObject *parent)
    : Feed(settings, parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ReplayFeed::playNext);
}

QString ReplayFeed::describe() const
{
    return HostConfig::typeName(m_settings.type) + u' ' + QFileInfo(m_settings.file).fileName();
}

void ReplayFeed::setText(const QString &text)
{
    m_lines.clear();
    for (QStringView raw : QStringView(text).tokenize(u'\n')) {
        QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        const StampedLine stamped = splitTimeStamp(line);
        if (stamped.text.isEmpty())
            continue;
        m_lines.append({stamped.secondsOfDay, stamped.text.toString()});
    }
    m_loaded = true;
    m_next = 0;
}

void ReplayFeed::start()
{
    if (!m_loaded) {
        QFile file(m_settings.file);
        if (!file.open(QIODevice::ReadOnly)) {
            setState(QStringLiteral("Cannot open file"));
            return;
        }
        // Each line as its sender wrote it: a file may mix UTF-8 and Latin-1.
        QString text;
        for (const QByteArray &line : file.read(MaxReplayFile).split('\n'))
            text += decodeLine(line) + u'\n';
        setText(text);
    }
    if (m_lines.isEmpty()) {
        setState(QStringLiteral("No frames in file"));
        return;
    }
    m_next = 0;
    setState(QStringLiteral("Replaying"));
    m_timer.start(0);
}

void ReplayFeed::stop()
{
    m_timer.stop();
    setState(QStringLiteral("Stopped"));
}

void ReplayFeed::playNext()
{
    if (m_next >= m_lines.size())
        return;
    const Line &line = m_lines[m_next];
    if (m_settings.type == FeedSettings::Type::DxReplay)
        deliverSpot(line.text);
    else
        deliverLine(line.text);
    ++m_next;
    scheduleNext();
}

void ReplayFeed::scheduleNext()
{
    if (m_next >= m_lines.size()) {
        if (!m_settings.loop) {
            setState(QStringLiteral("Finished"));
            return;
        }
        m_next = 0;
        m_timer.start(int(LoopPauseMs / m_settings.speed));
        return;
    }
    const int previous = m_lines[m_next - 1].seconds;
    const int current = m_lines[m_next].seconds;
    double delayMs = m_settings.intervalMs;
    if (previous >= 0 && current >= 0) {
        int gap = current - previous;
        if (gap < 0)
            gap += 24 * 3600;  // past midnight
        delayMs = gap * 1000.0;
    }
    m_timer.start(int(delayMs / m_settings.speed));
}
