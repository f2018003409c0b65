#include "dx/BandTable.h"

#include "core/ErrorReport.h"
#include "core/LineText.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"
#include "dx/LeadingNumber.h"

#include <QFile>

namespace {

const char *const kHeader[] = {
    "' These are the bans details that Kestrel uses to update the DX",
    "' Window. This file can be changed in the program options and",
    "' should not be directly edited.",
    "'",
    "' The file format is",
    "'",
    "' Lower band edge | Upper band edge | Band name",
    "'",
};

const QString kSetupProcedure = QStringLiteral("SetupBands");
const QString kSaveProcedure = QStringLiteral("SaveBandData");

} // namespace

QList<BandDetail> BandTable::builtIn()
{
    return {
        {1810, 2000, QStringLiteral("160M")},
        {3500, 3800, QStringLiteral("80M")},
        {7000, 7100, QStringLiteral("40M")},
        {10100, 10150, QStringLiteral("30M")},
        {14000, 14350, QStringLiteral("20M")},
        {18068, 18168, QStringLiteral("17M")},
        {21000, 21450, QStringLiteral("15M")},
        {24890, 24990, QStringLiteral("12M")},
        {28000, 29700, QStringLiteral("10M")},
        {50000, 52000, QStringLiteral("6M")},
        {70000, 70500, QStringLiteral("4M")},
        {144000, 146000, QStringLiteral("2M")},
        {430000, 440000, QStringLiteral("70cms")},
        {1240000, 1325000, QStringLiteral("23cms")},
        {2310000, 2450000, QStringLiteral("13cms")},
        {3400000, 3475000, QStringLiteral("9cms")},
        {5650000, 5850000, QStringLiteral("6cms")},
        {10000000, 10500000, QStringLiteral("3cms")},
        {24000000, 24250000, QStringLiteral("12mm")},
        {47000000, 47200000, QStringLiteral("6mm")},
    };
}

QString BandTable::defaultPath()
{
    return GetDataFolder() + u'/' + FileName;
}

QList<BandDetail> BandTable::parse(const QByteArray &text, QStringList *problems)
{
    QList<BandDetail> bands;
    int lineNumber = 0;
    int skippedPastCapacity = 0;
    for (const QString &line : decodeLines(text)) {
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'\''))
            continue;
        const qsizetype first = line.indexOf(u'|');
        const qsizetype second = first < 0 ? -1 : line.indexOf(u'|', first + 1);
        if (second < 0) {
            if (problems)
                problems->append(QStringLiteral("line %1 is not lower|upper|name").arg(lineNumber));
            continue;
        }
        if (bands.size() >= Capacity) {
            ++skippedPastCapacity;
            continue;
        }
        BandDetail band;
        band.lower = leadingInteger(line.first(first));
        band.upper = leadingInteger(line.sliced(first + 1, second - first - 1));
        band.name = line.sliced(second + 1);
        bands.append(band);
    }
    if (skippedPastCapacity > 0 && problems)
        problems->append(QStringLiteral("%1 bands past the first %2 were left out")
                             .arg(skippedPastCapacity)
                             .arg(Capacity));
    return bands;
}

QByteArray BandTable::format(const QList<BandDetail> &bands)
{
    QByteArray out;
    for (const char *line : kHeader) {
        out += line;
        out += "\r\n";
    }
    for (const BandDetail &band : bands) {
        // A line break in a name would split the record on the next read.
        QString name = band.name;
        name.replace(QChar(13), u' ').replace(QChar(10), u' ');
        out += QByteArray::number(band.lower) + '|' + QByteArray::number(band.upper) + '|'
               + encodeLine(name) + "\r\n";
    }
    return out;
}

bool BandTable::readFile(const QString &path, QList<BandDetail> *bands, QStringList *problems,
                         QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    *bands = parse(file.readAll(), problems);
    return true;
}

bool BandTable::writeFile(const QString &path, const QList<BandDetail> &bands, QString *errorText)
{
    return WholeFileWriter::save(path, format(bands), errorText);
}

void BandTable::SetupBands()
{
    const QString path = defaultPath();
    if (!QFile::exists(path)) {
        m_bands = builtIn();
        return;
    }
    QList<BandDetail> bands;
    QStringList problems;
    QString error;
    if (!readFile(path, &bands, &problems, &error)) {
        m_bands = builtIn();
        reportError(kSetupProcedure, FileName + QStringLiteral(" could not be read (") + error
                                         + QStringLiteral("); the standard bands are used."));
        return;
    }
    m_bands = bands;
    if (problems.isEmpty())
        return;
    // One message for the whole file, however many lines are bad.
    constexpr int Shown = 5;
    QString what = problems.mid(0, Shown).join(QStringLiteral("; "));
    if (problems.size() > Shown)
        what += QStringLiteral("; and %1 more").arg(problems.size() - Shown);
    reportError(kSetupProcedure, FileName + QStringLiteral(": ") + what + QStringLiteral(". They were skipped."));
}

bool BandTable::SaveBandData() const
{
    QString error;
    if (writeFile(defaultPath(), m_bands, &error))
        return true;
    reportError(kSaveProcedure, FileName + QStringLiteral(" could not be written: ") + error);
    return false;
}

QString BandTable::GetBand(const QString &frequency) const
{
    const double f = leadingNumber(frequency);
    for (const BandDetail &band : m_bands)
        if (band.lower <= f && f <= band.upper)
            return band.name.isEmpty() ? OtherBand : band.name;
    return OtherBand;
}

bool BandTable::IsBandEnabled(const QString &name) const
{
    for (const BandDetail &band : m_bands)
        if (band.enabled && band.name == name)
            return true;
    return false;
}

void BandTable::setBands(const QList<BandDetail> &bands)
{
    m_bands = bands.first(qMin<qsizetype>(bands.size(), Capacity));
}

void BandTable::setEnabled(int index, bool enabled)
{
    if (index >= 0 && index < m_bands.size())
        m_bands[index].enabled = enabled;
}

BandTable &bandTable()
{
    static BandTable table;
    return table;
}
