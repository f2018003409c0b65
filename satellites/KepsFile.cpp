#include "satellites/KepsFile.h"

#include "core/Prompts.h"
#include "core/Utilities.h"
#include "satellites/ElementChecksum.h"

#include <QDate>
#include <QFile>

#include <cmath>

namespace {

const QString kLoadErrorTitle = QStringLiteral("Keplairan Element Load Error");
// Nobody keeps an element file this large; past it the rest is not read.
constexpr qint64 kMostBytesRead = 64 * 1024 * 1024;

QString noElementsText(const QString &fileName)
{
    return QStringLiteral("The file (") + fileName
           + QStringLiteral(") you have selected does not appear to contain any Keplarian elements. "
                            "Please select another file.");
}

QString failedCheckText(const QString &fileName, const QStringList &names)
{
    return QStringLiteral("The file (") + fileName
           + QStringLiteral(") has element sets whose check digits do not match their lines, so the lines "
                            "were changed after they were published and would give wrong positions. "
                            "These sets were not loaded:\n\n")
           + names.join(QStringLiteral("\n"))
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

} // namespace

ElementTable &keps()
{
    static ElementTable table;
    return table;
}

KepsReadResult readKeps(const QByteArray &content)
{
    KepsReadResult result;
    const QString text = QString::fromLatin1(content);
    ListInput input(text);
    for (;;) {
        QString name, line1, line2;
        if (!input.next(name) || !input.next(line1) || !input.next(line2))
            break;
        // The point of the epoch or of the first derivative says line 1 is
        // where it should be; otherwise move up one item at a time until
        // the inclination's point and the epoch's point line up.
        if (!pointAt(line1, 24) && !pointAt(line1, 35)) {
            bool inStep = true;
            do {
                name = line1;
                line1 = line2;
                if (!input.next(line2)) {
                    inStep = false;
                    break;
                }
            } while (!(pointAt(line2, 12) && pointAt(line1, 24)));
            if (!inStep)
                break;
        }
        if (!ElementChecksum::valid(line1.toStdString()) || !ElementChecksum::valid(line2.toStdString())) {
            result.failedCheck << name;
            continue;
        }
        if (result.sets.size() >= ElementTable::Capacity) {
            ++result.beyondCapacity;
            continue;
        }
        result.sets.append({name, line1, line2});
    }
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

    if (!read.failedCheck.isEmpty())
        Prompts::instance().message(failedCheckText(fileName, read.failedCheck), kLoadErrorTitle,
                                    Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
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
