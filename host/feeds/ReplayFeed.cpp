#include "host/feeds/ReplayFeed.h"

#include "core/LineText.h"
#include "host/aprs/Tnc2.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

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
        m_timer.start(loopPauseMs(m_settings.speed));
        return;
    }
    m_timer.start(delayMs(m_lines[m_next - 1].seconds, m_lines[m_next].seconds, m_settings.intervalMs,
                          m_settings.speed));
}

namespace {

// A very slow speed makes waits past what an int holds; a timer cannot take them.
int timerMs(double ms)
{
    if (!(ms > 0))
        return 0;
    return ms >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(ms);
}

} // namespace

int ReplayFeed::delayMs(int previousSeconds, int currentSeconds, int intervalMs, double speed)
{
    double ms = intervalMs;
    if (previousSeconds >= 0 && currentSeconds >= 0) {
        int gap = currentSeconds - previousSeconds;
        if (gap < 0)
            gap += 24 * 3600;  // past midnight
        ms = gap * 1000.0;
    }
    return timerMs(ms / speed);
}

int ReplayFeed::loopPauseMs(double speed)
{
    return timerMs(LoopPauseMs / speed);
}
