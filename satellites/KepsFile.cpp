#include "satellites/KepsFile.h"

#include "core/LineText.h"
#include "core/Prompts.h"
#include "core/Utilities.h"
#include "orbiter/ElementLine.h"

#include <QDate>
#include <QFile>
#include <QStringDecoder>

#include <cmath>

namespace {

const QString kLoadErrorTitle = QStringLiteral("Keplairan Element Load Error");
// Nobody keeps an element file this large; past it the rest is not read.
constexpr qint64 kMostBytesRead = 64 * 1024 * 1024;
// The message about sets left out stays smaller than a screen.
constexpr int kMostNamesListed = 10;
constexpr int kLongestNameShown = 40;

QString noElementsText(const QString &fileName)
{
    return QStringLiteral("The file (") + fileName
           + QStringLiteral(") you have selected does not appear to contain any Keplarian elements. "
                            "Please select another file.");
}

QString rejectedText(const QString &fileName, const QList<RejectedElementSet> &rejected)
{
    QStringList lines;
    bool checkDigits = false;
    for (qsizetype i = 0; i < rejected.size(); ++i) {
        checkDigits |= rejected[i].reason == RejectedElementSet::Reason::CheckDigit;
        if (i < kMostNamesListed) {
            const QString &name = rejected[i].name;
            lines << (name.size() > kLongestNameShown ? name.left(kLongestNameShown - 1) + QChar(0x2026) : name)
                         + QStringLiteral(": ") + rejected[i].why();
        }
    }
    if (rejected.size() > kMostNamesListed)
        lines << QStringLiteral("and %1 more").arg(rejected.size() - kMostNamesListed);
    return QStringLiteral("The file (") + fileName + QStringLiteral(") has element sets that were not loaded:\n\n")
           + lines.join(u'\n')
           + (checkDigits ? QStringLiteral("\n\nA line whose check digit does not match was changed after it was "
                                           "published and would give wrong positions.")
                          : QString())
           + QStringLiteral("\n\nPlease fetch a fresh copy of the elements.");
}

// The items of a file read the way a list-input statement reads them.
class ListInput
{
public:
    explicit ListInput(const QString &text) : m_text(text) {}

    // The next non-empty item; false at the end of the text.
    bool next(QString &item)
    {
        const qsizetype n = m_text.size();
        while (m_at < n) {
            while (m_at < n && (m_text[m_at] == u' ' || m_text[m_at] == u'\t'))
                ++m_at;
            if (m_at >= n)
                return false;
            QString value;
            if (m_text[m_at] == u'"') {
                ++m_at;
                const qsizetype start = m_at;
                while (m_at < n && m_text[m_at] != u'"' && m_text[m_at] != u'\r' && m_text[m_at] != u'\n')
                    ++m_at;
                value = m_text.mid(start, m_at - start);
                if (m_at < n && m_text[m_at] == u'"')
                    ++m_at;
                // Whatever follows the closing quote up to the delimiter is dropped.
                while (m_at < n && m_text[m_at] != u',' && m_text[m_at] != u'\r' && m_text[m_at] != u'\n')
                    ++m_at;
            } else {
                const qsizetype start = m_at;
                while (m_at < n && m_text[m_at] != u',' && m_text[m_at] != u'\r' && m_text[m_at] != u'\n')
                    ++m_at;
                value = m_text.mid(start, m_at - start);
            }
            skipDelimiter();
            while (!value.isEmpty() && (value.back() == u' ' || value.back() == u'\t'))
                value.chop(1);
            if (!value.isEmpty()) {
                item = value;
                return true;
            }
        }
        return false;
    }

private:
    void skipDelimiter()
    {
        const qsizetype n = m_text.size();
        if (m_at >= n)
            return;
        if (m_text[m_at] == u',') {
            ++m_at;
        } else if (m_text[m_at] == u'\r') {
            ++m_at;
            if (m_at < n && m_text[m_at] == u'\n')
                ++m_at;
        } else if (m_text[m_at] == u'\n') {
            ++m_at;
        }
    }

    const QString &m_text;
    qsizetype m_at = 0;
};

// Character `column` (1-based) is a point.
bool pointAt(const QString &line, int column)
{
    return line.size() >= column && line.at(column - 1) == u'.';
}

// Element lines by their line number and the points that place their
// fields: the epoch's (or the first derivative's) in line 1, the
// inclination's in line 2.
bool isLine1(const QString &item)
{
    return item.startsWith(QLatin1String("1 ")) && (pointAt(item, 24) || pointAt(item, 35));
}

bool isLine2(const QString &item)
{
    return item.startsWith(QLatin1String("2 ")) && pointAt(item, 12);
}

QString catalogueNumber(const QString &line)
{
    const QString number = catalogueField(line);
    return number.isEmpty() ? QStringLiteral("(no number)") : number;
}

// Element lines are plain ASCII; anything else means the line was damaged,
// and its columns would not be where the model looks for them.
bool checked(const QString &line)
{
    for (QChar c : line)
        if (c.unicode() >= 0x80)
            return false;
    return ElementLine::checked(line.toStdString());
}

// Some publishers put "0 " before each name line.
QString nameOf(const QString &item)
{
    return item.startsWith(QLatin1String("0 ")) && item.size() > 2 ? item.mid(2).trimmed() : item;
}

// The file's text, each line UTF-8 or Latin-1 by itself, since files are put
// together from several sources. A byte-order mark is no part of the first
// name; one for UTF-16 says how the whole file is written.
QString fileText(QByteArrayView content)
{
    if (const auto encoding = QStringConverter::encodingForData(content);
        encoding && *encoding != QStringConverter::Utf8 && *encoding != QStringConverter::Latin1) {
        QStringDecoder decoder(*encoding);
        QString text = decoder(content);
        if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        return text;
    }
    if (content.startsWith("\xEF\xBB\xBF"))
        content = content.sliced(3);
    QString text;
    text.reserve(content.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= content.size(); ++i) {
        if (i < content.size() && content[i] != '\n' && content[i] != '\r')
            continue;
        text += decodeLine(content.sliced(start, i - start));
        if (i < content.size())
            text += QLatin1Char(content[i]);
        start = i + 1;
    }
    return text;
}

} // namespace

QString catalogueField(const QString &line)
{
    // Latin-1 keeps one byte per character, so the field's place in the bytes
    // is its place in the line.
    const QByteArray head = line.left(7).toLatin1();
    const std::string_view field = ElementLine::catalogueField(std::string_view(head.constData(), std::size_t(head.size())));
    return line.mid(qsizetype(field.data() - head.constData()), qsizetype(field.size()));
}

QString RejectedElementSet::why() const
{
    switch (reason) {
    case Reason::CheckDigit:
        return QStringLiteral("its lines fail their check digit");
    case Reason::MissingLine1:
        return QStringLiteral("its line 1 is missing");
    case Reason::MissingLine2:
        return QStringLiteral("its line 2 is missing");
    }
    return {};
}

const RejectedElementSet *KepsReadResult::findRejected(const QString &name) const
{
    for (const RejectedElementSet &set : rejected)
        if (set.name == name)
            return &set;
    for (const RejectedElementSet &set : rejected)
        if (set.name.compare(name, Qt::CaseInsensitive) == 0)
            return &set;
    return nullptr;
}

ElementTable &keps()
{
    static ElementTable table;
    return table;
}

KepsReadResult readKeps(const QByteArray &content)
{
    KepsReadResult result;
    const QString text = fileText(content);
    ListInput input(text);
    // Two-line files have no name lines; a set without one goes by its
    // catalogue number. An item that is no element line names the next set,
    // so a stray line before a name is simply replaced by it.
    QString name;
    QString line1;
    QString line1Name;
    auto reject = [&result](const QString &who, RejectedElementSet::Reason why) { result.rejected.append({who, why}); };
    auto setAside = [&] {
        if (!line1.isEmpty())
            reject(line1Name, RejectedElementSet::Reason::MissingLine2);
        line1.clear();
    };
    QString item;
    while (input.next(item)) {
        if (isLine1(item)) {
            setAside();
            line1 = item;
            line1Name = name.isEmpty() ? catalogueNumber(item) : name;
            name.clear();
        } else if (isLine2(item)) {
            if (!line1.isEmpty() && catalogueNumber(line1) != catalogueNumber(item))
                setAside();
            if (line1.isEmpty()) {
                reject(name.isEmpty() ? catalogueNumber(item) : name, RejectedElementSet::Reason::MissingLine1);
                name.clear();
                continue;
            }
            const QString setName = line1Name;
            const QString first = line1;
            line1.clear();
            if (!checked(first) || !checked(item)) {
                reject(setName, RejectedElementSet::Reason::CheckDigit);
            } else if (result.sets.size() >= ElementTable::Capacity) {
                ++result.beyondCapacity;
            } else {
                result.sets.append({setName, first, item});
            }
        } else {
            setAside();
            name = nameOf(item);
        }
    }
    setAside();
    return result;
}

void LoadKeps(const QString &strPath)
{
    const QString fileName = GetFilename(strPath);
    const QString baseName = GetFilenameNoExt(fileName);
    KepsReadResult read;
    if (!fileName.isEmpty() && !baseName.isEmpty()) {
        QFile file(strPath);
        if (file.open(QIODevice::ReadOnly))
            read = readKeps(file.read(kMostBytesRead));
    }
    ElementTable &table = keps();
    table.sets = read.sets;
    table.beyondCapacity = read.beyondCapacity;
    table.fileName = fileName;

    if (!read.rejected.isEmpty())
        Prompts::instance().message(rejectedText(fileName, read.rejected), kLoadErrorTitle, Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
    else if (read.sets.isEmpty())
        Prompts::instance().message(noElementsText(fileName), kLoadErrorTitle, Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
}

QString kepsDated(const QString &line1)
{
    const QString epochText = line1.mid(18, 14);
    bool ok = false;
    const double e = epochText.trimmed().toDouble(&ok);
    // Two digits of year and a day of the year: anything larger (or not a
    // number at all) is no epoch, and would overflow the year below.
    if (!ok || !(e >= 0 && e < 100000.0) || epochText.size() < 2)
        return {};
    const int century = epochText.left(2).toInt() >= 50 ? 1900 : 2000;
    const double thousands = std::floor(e / 1000.0);
    const int year = int(thousands) + century;
    const double dayOfYear = e - 1000.0 * thousands;
    if (dayOfYear < 1.0 || dayOfYear >= 367.0)
        return {};
    const QDate date = QDate(year, 1, 1).addDays(qint64(std::floor(dayOfYear)) - 1);
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}
