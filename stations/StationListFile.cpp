#include "stations/StationListFile.h"

#include "core/Utilities.h"
#include "core/WholeFileWriter.h"

#include <QFile>
#include <QLocale>

namespace StationListFile {

namespace {
const QChar kBar = QLatin1Char('|');
constexpr int kSavedFields = 10;  // callsign and "Type" to "Time"
} // namespace

QString folder() { return GetDataFolder() + QStringLiteral("/Saved Lists"); }

QString automaticName(const QDate &date)
{
    return folder() + u'/' + QLocale::c().toString(date, QStringLiteral("ddMMMyyyy")) + QStringLiteral(".kel");
}

QString lineOf(const StationListModel::Cells &cells)
{
    QString line;
    line.reserve(160);
    for (int column = 0; column < kSavedFields; ++column) {
        line += cells[size_t(column)];
        line += kBar;
    }
    return line;
}

bool save(const QString &path, const StationListModel &model, QString *errorText)
{
    WholeFileWriter file(path);
    if (!file.open(errorText))
        return false;
    QByteArray chunk;
    for (int r = 0; r < model.count(); ++r) {
        chunk += lineOf(model.row(r).cells).toLatin1();
        chunk += "\r\n";
        if (chunk.size() > 65536) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    return file.commit(errorText);
}

bool parseLine(const QString &line, Parsed *parsed)
{
    const QStringList fields = line.split(kBar);
    if (fields.size() < kSavedFields)
        return false;
    Parsed result;
    result.fieldCount = int(fields.size());
    result.olderLayout = fields.size() == kSavedFields;
    result.cells[StationListModel::Station] = fields.at(0);
    int column = result.olderLayout ? StationListModel::Direct : StationListModel::Type;
    for (qsizetype f = 1; f < fields.size() && column < StationListModel::ColumnCount; ++f, ++column)
        result.cells[size_t(column)] = fields.at(f);
    *parsed = result;
    return true;
}

StationListModel::Cells mergeCells(const Parsed &parsed)
{
    StationListModel::Cells cells = parsed.cells;
    const int last = parsed.fieldCount - 1;
    for (int column = last + 1; column < StationListModel::ColumnCount; ++column)
        cells[size_t(column)].clear();
    return cells;
}

bool readLines(const QString &path, QStringList *lines, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    const QString text = QString::fromLatin1(file.readAll());
    QStringList result = text.split(QLatin1Char('\n'));
    for (QString &line : result)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    *lines = result;
    return true;
}

namespace {

LoadResult addLines(const QString &path, StationListModel &model, bool merging)
{
    LoadResult result;
    QStringList lines;
    if (!readLines(path, &lines, &result.errorText))
        return result;
    result.opened = true;
    for (const QString &line : lines) {
        Parsed parsed;
        if (!parseLine(line, &parsed)) {
            if (!line.trimmed().isEmpty())
                ++result.skipped;
            continue;
        }
        if (merging) {
            if (model.find(parsed.cells[StationListModel::Station]) >= 0)
                continue;
            model.appendRow(mergeCells(parsed));
        } else {
            model.appendRow(parsed.cells);
        }
        ++result.added;
    }
    return result;
}

} // namespace

LoadResult load(const QString &path, StationListModel &model) { return addLines(path, model, false); }
LoadResult merge(const QString &path, StationListModel &model) { return addLines(path, model, true); }

} // namespace StationListFile
