#include "weather/WxDataFile.h"

#include "weather/ProfileBytes.h"

#include "core/LineText.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <sys/stat.h>
#include <map>
#include <set>

namespace {

const QString kValueKey = QStringLiteral("Value");
const QString kDayForm = QStringLiteral("dd/MM/yyyy");
const QString kTimeForm = QStringLiteral("dd/MM/yyyy HH:mm:ss");
constexpr qint64 kFirstTail = 64 * 1024;
constexpr int kMaxCallsign = 32;

using ProfileBytes::forEachLine;
using ProfileBytes::isLineEnd;
using ProfileBytes::parseLine;
using ProfileBytes::ProfileLine;
using ProfileBytes::sameName;
using ProfileBytes::trimmed;

// The number n of a key "Value<n>" (any letter case), else 0.
qint64 valueNumber(QByteArrayView key)
{
    if (key.size() <= kValueKey.size() || key.size() > kValueKey.size() + 9)
        return 0;
    if (QString::fromLatin1(key.first(kValueKey.size())).compare(kValueKey, Qt::CaseInsensitive) != 0)
        return 0;
    const QByteArrayView digits = key.sliced(kValueKey.size());
    if (digits.front() == '0')
        return 0;  // "Value01" is another key than "Value1"
    qint64 n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The whole file, mapped when it can be.
class FileBytes
{
public:
    explicit FileBytes(const QString &path) : m_file(path)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return;
        const qint64 size = m_file.size();
        if (size <= 0)
            return;
        if (uchar *mapped = m_file.map(0, size)) {
            m_view = QByteArrayView(reinterpret_cast<const char *>(mapped), size);
        } else {
            m_copy = m_file.readAll();
            m_view = m_copy;
        }
    }
    QByteArrayView view() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
};

QString cleanReport(const QString &report)
{
    QString text = report;
    text.remove(QStringLiteral("\r\n"));
    // A lone line end would start a line of its own in the file.
    text.remove(u'\r');
    text.remove(u'\n');
    text.remove(QChar(0));
    return text.trimmed();
}

// What the end of the file says about where a report goes.
struct Tail
{
    bool hasSection = false;
    QByteArray lastSection;
    std::set<qint64> used;       // numbers of non-empty values of the last section
    std::set<qint64> emptyKeys;  // numbers present with an empty value
    qint64 firstFree = 1;        // every number below it is used
    bool endsWithLineEnd = true;
};

bool readTail(QFile &file, qint64 size, Tail *tail, QString *errorText)
{
    for (qint64 chunk = kFirstTail;; chunk *= 4) {
        const qint64 start = std::max<qint64>(0, size - chunk);
        if (!file.seek(start)) {
            *errorText = file.errorString();
            return false;
        }
        const QByteArray data = file.read(size - start);
        if (data.size() != size - start) {
            *errorText = file.errorString();
            return false;
        }
        QByteArrayView view(data);
        if (start > 0) {
            // The first line may be cut: begin after its end.
            qsizetype skip = 0;
            while (skip < view.size() && !isLineEnd(view[skip]))
                ++skip;
            view = view.sliced(std::min(skip + 1, view.size()));
        }
        qsizetype lastSectionAt = -1;
        QByteArrayView lastName;
        forEachLine(view, [&](QByteArrayView line, qsizetype offset) {
            const ProfileLine parsed = parseLine(line);
            if (parsed.kind == ProfileLine::Section) {
                lastSectionAt = offset;
                lastName = parsed.name;
            }
            return true;
        });
        tail->endsWithLineEnd = data.isEmpty() || isLineEnd(data.back());
        if (lastSectionAt < 0 && start > 0)
            continue;
        if (lastSectionAt >= 0) {
            tail->hasSection = true;
            tail->lastSection = lastName.toByteArray();
            bool header = true;
            std::set<qint64> seen;
            forEachLine(view.sliced(lastSectionAt), [&](QByteArrayView line, qsizetype) {
                if (header) {
                    header = false;
                    return true;
                }
                const ProfileLine parsed = parseLine(line);
                if (parsed.kind != ProfileLine::Key)
                    return true;
                // Only the first line of a key counts, as for a profile read.
                if (const qint64 n = valueNumber(parsed.name); n && seen.insert(n).second) {
                    if (parsed.value.isEmpty())
                        tail->emptyKeys.insert(n);
                    else
                        tail->used.insert(n);
                }
                return true;
            });
        }
        return true;
    }
}

// How many sections of that name the file holds (stops counting at two).
int sectionCount(const QString &path, const QString &day)
{
    const FileBytes bytes(path);
    int count = 0;
    forEachLine(bytes.view(), [&](QByteArrayView line, qsizetype) {
        if (!trimmed(line).startsWith('['))
            return true;
        const ProfileLine parsed = parseLine(line);
        if (parsed.kind == ProfileLine::Section && sameName(parsed.name, day))
            ++count;
        return count < 2;
    });
    return count;
}

// What the last store into each file found at its end, with the size the
// file had after it: while the size is unchanged, live appends need neither
// the tail read nor the whole-file check again.
struct CheckedTail
{
    qint64 size = -1;
    qint64 modified = -1;  // nanoseconds: another writer changes it
    Tail tail;
};

qint64 modifiedNs(const QFile &file)
{
    struct stat info;
    if (fstat(file.handle(), &info) != 0)
        return -1;
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}
QHash<QString, CheckedTail> &checkedTails()
{
    static QHash<QString, CheckedTail> tails;
    return tails;
}

// Where the first section of a day lies: from its header line to the next
// section's header (or the end), and what its keys hold.
struct SectionSpan
{
    qsizetype begin = -1;
    qsizetype end = -1;
    int count = 0;  // sections of that name
    std::set<qint64> used;
    // First line of each empty key: where its text starts and ends.
    std::map<qint64, std::pair<qsizetype, qsizetype>> emptyKeys;
};

SectionSpan findSection(QByteArrayView bytes, const QString &day)
{
    SectionSpan span;
    std::set<qint64> seen;
    bool inside = false;
    forEachLine(bytes, [&](QByteArrayView line, qsizetype offset) {
        const ProfileLine parsed = parseLine(line);
        if (parsed.kind == ProfileLine::Section) {
            if (inside)
                span.end = offset;
            inside = false;
            if (sameName(parsed.name, day) && ++span.count == 1) {
                span.begin = offset;
                inside = true;
            }
            return span.count < 2 || inside;
        }
        if (!inside || parsed.kind != ProfileLine::Key)
            return true;
        if (const qint64 n = valueNumber(parsed.name); n && seen.insert(n).second) {
            if (!parsed.value.isEmpty())
                span.used.insert(n);
            else
                span.emptyKeys[n] = {offset, offset + line.size()};
        }
        return true;
    });
    if (inside)
        span.end = bytes.size();
    return span;
}

void endLine(QByteArray &bytes)
{
    if (!bytes.isEmpty() && !isLineEnd(bytes.back()))
        bytes += "\r\n";
}

QByteArray keyLine(qint64 n, const QByteArray &value)
{
    return kValueKey.toLatin1() + QByteArray::number(n) + '=' + value + "\r\n";
}

// The byte between time and report stays the single byte 0xFD whatever the
// report holds, so that the Windows program still finds it; the two sides
// are each Latin-1 or UTF-8 by themselves.
QByteArray encodeValue(const QString &time, const QString &report)
{
    return encodeLine(time) + char(WxData::Separator) + encodeLine(report);
}

QString decodeValue(QByteArrayView value)
{
    const qsizetype at = value.indexOf(char(WxData::Separator));
    if (at < 0)
        return decodeLine(value);
    return decodeLine(value.first(at)) + QChar(WxData::Separator) + decodeLine(value.sliced(at + 1));
}

} // namespace

// The rare report for a day whose section is not simply the last one. The
// file is rewritten through a temporary file, so nothing is lost. A day's
// section that stands before others (a report after one dated ahead, when a
// clock jumped) moves to the end, so that the day's later reports are cheap
// appends again; an empty key is filled where it stands; with two sections
// of the day, the first is the one read and takes the report.
bool WxDataFile::rewriteWith(const QString &day, const QByteArray &value, QString *errorText)
{
    QByteArray out;
    SectionSpan span;
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            *errorText = file.errorString();
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            *errorText = file.errorString();
            return false;
        }
        span = findSection(bytes, day);
        qint64 n = 1;
        while (span.used.count(n))
            ++n;
        const QByteArray line = keyLine(n, value);
        const QByteArrayView all(bytes);
        out.reserve(bytes.size() + line.size() + 4);
        if (span.count == 0) {
            out = bytes;
            endLine(out);
            out += '[' + day.toLatin1() + "]\r\n" + line;
        } else if (const auto empty = span.emptyKeys.find(n); empty != span.emptyKeys.end()) {
            out += all.first(empty->second.first);
            out += line.chopped(2);
            out += all.sliced(empty->second.second);
        } else if (span.count > 1) {
            out += all.first(span.end);
            endLine(out);
            out += line;
            out += all.sliced(span.end);
        } else {
            out += all.first(span.begin);
            out += all.sliced(span.end);
            endLine(out);
            out += all.sliced(span.begin, span.end - span.begin);
            endLine(out);
            out += line;
            span.used.insert(n);
            span.emptyKeys.clear();  // what stays empty is numbered past
        }
    }
    if (!WholeFileWriter::save(m_path, out, errorText))
        return false;
    if (span.count == 1 && span.emptyKeys.empty()) {
        // The day now ends the file: the next report is an append.
        QFile written(m_path);
        if (written.open(QIODevice::ReadOnly)) {
            Tail tail;
            tail.hasSection = true;
            tail.lastSection = day.toLatin1();
            tail.used = std::move(span.used);
            checkedTails().emplace(m_path, CheckedTail{written.size(), modifiedNs(written), std::move(tail)});
        }
    }
    return true;
}

// Writes the whole line at the old end of the file or nothing: a part that
// fitted would read as a report of its own ("t1" of "t105").
bool WxDataFile::writeAtEnd(QFile &file, qint64 size, const QByteArray &line, QString *errorText)
{
    qint64 written = 0;
    if (file.seek(size)) {
        while (written < line.size()) {
            const qint64 n = file.write(line.constData() + written, line.size() - written);
            if (n <= 0)
                break;
            written += n;
        }
    }
    if (written == line.size())
        return true;
    // The failed write left the system's reason ("No space left on device").
    *errorText = file.error() != QFileDevice::NoError ? file.errorString()
                                                      : QStringLiteral("The report could not be written whole");
    file.resize(size);
    return false;
}

WxDataFile::WxDataFile(QString path) : m_path(std::move(path)) {}

bool WxDataFile::append(const QDateTime &reportTime, const QString &report, QString *errorText)
{
    QString ignored;
    QString &error = errorText ? *errorText : ignored;
    const QString day = WxData::dayText(reportTime.date());
    const QByteArray value = encodeValue(WxData::timeText(reportTime), cleanReport(report));

    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        const QString folder = QFileInfo(m_path).absolutePath();
        if (QFileInfo::exists(folder) || !QDir().mkpath(folder)
            || !file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            error = file.errorString();
            return false;
        }
    }
    const qint64 size = file.size();
    Tail tail;
    bool known = false;
    if (const auto cached = checkedTails().find(m_path); cached != checkedTails().end()) {
        known = cached->size == size && cached->modified == modifiedNs(file);
        if (known)
            tail = std::move(cached->tail);  // a day of reports: not copied at every store
        checkedTails().erase(cached);
    }
    if (!known && size > 0 && !readTail(file, size, &tail, &error))
        return false;

    QByteArray line;
    const bool newSection = !tail.hasSection || !sameName(tail.lastSection, day);
    qint64 n = newSection ? 1 : tail.firstFree;
    if (!newSection) {
        while (tail.used.count(n))
            ++n;
        // An empty key of that number must be replaced where it stands, and
        // an earlier section of the same name is the one that is read.
        if (tail.emptyKeys.count(n) || (!known && sectionCount(m_path, day) > 1)) {
            file.close();
            return rewriteWith(day, value, &error);
        }
        line = keyLine(n, value);
    } else {
        // A new day, unless the day's section stands earlier in the file.
        if (tail.hasSection && sectionCount(m_path, day) > 0) {
            file.close();
            return rewriteWith(day, value, &error);
        }
        line = '[' + day.toLatin1() + "]\r\n" + keyLine(1, value);
    }
    if (!tail.endsWithLineEnd)
        line.prepend("\r\n");  // a line cut short by a crash stays a line of its own
    if (newSection) {
        tail = Tail();
        tail.hasSection = true;
        tail.lastSection = day.toLatin1();
    }

    // One write at the end: whatever happens, the lines before stay as they were.
    if (!writeAtEnd(file, size, line, &error))
        return false;
    tail.used.insert(n);
    tail.firstFree = n + 1;
    tail.endsWithLineEnd = true;
    // Moved in: a copy of a long day's numbers at every store would grow with the day.
    checkedTails().emplace(m_path, CheckedTail{size + line.size(), modifiedNs(file), std::move(tail)});
    return true;
}

void WxDataFile::forgetTails() { checkedTails().clear(); }

QStringList WxDataFile::days() const
{
    QStringList days;
    const FileBytes bytes(m_path);
    forEachLine(bytes.view(), [&](QByteArrayView line, qsizetype) {
        if (!trimmed(line).startsWith('['))
            return true;
        const ProfileLine parsed = parseLine(line);
        if (parsed.kind != ProfileLine::Section)
            return true;
        const QString name = QString::fromLatin1(parsed.name);
        if (!days.contains(name, Qt::CaseInsensitive))
            days << name;
        return true;
    });
    // A section moved to the end (see rewriteWith) is still listed in its place.
    std::stable_sort(days.begin(), days.end(),
                     [](const QString &a, const QString &b) { return WxData::dayDate(a) < WxData::dayDate(b); });
    return days;
}

QStringList WxDataFile::dayValues(const QString &day) const
{
    QHash<qint64, QByteArrayView> values;
    qint64 highest = 0;
    bool inside = false;
    const FileBytes bytes(m_path);
    forEachLine(bytes.view(), [&](QByteArrayView line, qsizetype) {
        const ProfileLine parsed = parseLine(line);
        if (parsed.kind == ProfileLine::Section) {
            if (inside)
                return false;  // only the first section of that name is read
            inside = sameName(parsed.name, day);
            return true;
        }
        if (!inside || parsed.kind != ProfileLine::Key)
            return true;
        const qint64 n = valueNumber(parsed.name);
        if (n > 0 && !values.contains(n)) {
            values.insert(n, parsed.value);
            highest = std::max(highest, n);
        }
        return true;
    });
    QStringList out;
    for (qint64 n = 1; n <= highest; ++n) {
        const QByteArrayView value = values.value(n);
        if (value.isEmpty())
            break;
        out << decodeValue(value).left(MaxValueLength);
    }
    return out;
}

namespace WxData {

QString dayText(const QDate &date) { return date.toString(kDayForm); }

QString timeText(const QDateTime &time) { return time.toString(kTimeForm); }

QDate dayDate(const QString &day)
{
    QDate date = QDate::fromString(day.trimmed(), kDayForm);
    if (!date.isValid())
        date = QDate::fromString(day.trimmed(), QStringLiteral("d/M/yyyy"));
    return date;
}

QString folder() { return GetDataFolder() + QStringLiteral("/WxData"); }

QString fileForCallsign(const QString &callsign)
{
    QString name = callsign;
    if (name.endsWith(u'*'))
        name.chop(1);
    if (name.isEmpty() || name.size() > kMaxCallsign)
        return {};
    for (QChar c : name) {
        const bool fits = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')
                          || c == u'-' || c == u'_';
        if (!fits)
            return {};
    }
    return folder() + u'/' + name + QStringLiteral(".kew");
}

StoredReport splitValue(const QString &value)
{
    StoredReport stored;
    const qsizetype at = value.indexOf(QChar(Separator));
    if (at < 0) {
        stored.report = value;
    } else {
        stored.timeText = value.left(at);
        stored.report = value.mid(at + 1);
    }
    stored.timeOfDay = timeOfDay(stored.timeText);
    return stored;
}

QTime timeOfDay(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("(\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\s*([AaPp])\\.?[Mm]\\.?)?"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return QTime(0, 0);
    int hour = match.capturedView(1).toInt();
    const int minute = match.capturedView(2).toInt();
    const int second = match.capturedView(3).isEmpty() ? 0 : match.capturedView(3).toInt();
    const QStringView half = match.capturedView(4);
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return QTime(0, 0);
        hour %= 12;
        if (half.compare(u"p", Qt::CaseInsensitive) == 0)
            hour += 12;
    }
    const QTime time(hour, minute, second);
    return time.isValid() ? time : QTime(0, 0);
}

} // namespace WxData
