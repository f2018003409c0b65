#include "stations/StationListFile.h"

#include "core/LineText.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"

#include <QFile>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace StationListFile {

namespace {
const QChar kBar = QLatin1Char('|');
const QChar kEscape = QLatin1Char('%');
constexpr int kSavedFields = 10;  // callsign and "Type" to "Time"

// The characters that would split a row, and the codes they are written as.
struct Code
{
    QChar character;
    QLatin1StringView code;  // the two hex digits after "%"
};
constexpr Code kCodes[] = {
    {QChar(u'|'), QLatin1StringView("7C")},
    {QChar(u'\r'), QLatin1StringView("0D")},
    {QChar(u'\n'), QLatin1StringView("0A")},
    {QChar(u'%'), QLatin1StringView("25")},
};

// The character a code at text[at] (just after a "%") stands for, or null.
QChar decoded(QStringView text, qsizetype at)
{
    if (at + 2 > text.size())
        return {};
    const QStringView digits = text.mid(at, 2);
    for (const Code &code : kCodes)
        if (digits.compare(code.code, Qt::CaseInsensitive) == 0)
            return code.character;
    return {};
}

} // namespace

QString escapeCell(const QString &cell)
{
    // Most cells hold none of those characters: they are shared, not copied.
    const auto special = [](QChar c) { return c == kBar || c == kEscape || c == u'\r' || c == u'\n'; };
    if (std::none_of(cell.cbegin(), cell.cend(), special))
        return cell;
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell.at(i);
        // A "%" is written as a code only where it would otherwise be read as
        // one, so ordinary text ("80%") is written as it is.
        const bool needsCode = c == kEscape ? !decoded(cell, i + 1).isNull()
                                            : (c == kBar || c == u'\r' || c == u'\n');
        if (!needsCode) {
            out += c;
            continue;
        }
        for (const Code &code : kCodes)
            if (code.character == c) {
                out += kEscape;
                out += code.code;
            }
    }
    return out;
}

QString unescapeCell(QStringView field)
{
    if (!field.contains(kEscape))
        return field.toString();
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        const QChar code = c == kEscape ? decoded(field, i + 1) : QChar();
        if (code.isNull()) {
            out += c;
        } else {
            out += code;
            i += 2;
        }
    }
    return out;
}

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
        line += escapeCell(cells[size_t(column)]);
        line += kBar;
    }
    // The height follows the time, so that a reader of the ten fields before
    // it finds them where they always were; a row without one is written as
    // before heights were kept.
    if (!cells[StationListModel::Height].isEmpty()) {
        line += escapeCell(cells[StationListModel::Height]);
        line += kBar;
    }
    return line;
}

namespace {

// "41216 ft" or "-12 m": the height cell, which no time text looks like.
bool isHeightCell(QStringView field)
{
    const qsizetype blank = field.indexOf(u' ');
    if (blank < 1)
        return false;
    const QStringView unit = field.mid(blank + 1);
    if (unit != u"ft" && unit != u"m")
        return false;
    for (qsizetype i = 0; i < blank; ++i)
        if (!field[i].isDigit() && !(i == 0 && field[i] == u'-' && blank > 1))
            return false;
    return true;
}

} // namespace

bool save(const QString &path, const StationListModel &model, QString *errorText)
{
    WholeFileWriter file(path);
    if (!file.open(errorText))
        return false;
    QByteArray chunk;
    for (int r = 0; r < model.count(); ++r) {
        chunk += encodeLine(lineOf(model.row(r).cells));
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
    QList<QStringView> fields = QStringView(line).split(kBar);
    if (fields.size() < kSavedFields)
        return false;
    Parsed result;
    result.fieldCount = int(fields.size());
    result.olderLayout = fields.size() == kSavedFields;
    result.cells[StationListModel::Station] = unescapeCell(fields.at(0));
    if (result.olderLayout) {
        // Callsign, "Direct" to "Time", and the empty field after the last bar.
        int column = StationListModel::Direct;
        for (qsizetype f = 1; f < kSavedFields - 1; ++f, ++column)
            result.cells[size_t(column)] = unescapeCell(fields.at(f));
    } else {
        int column = StationListModel::Type;
        for (qsizetype f = 1; f < 8; ++f, ++column)
            result.cells[size_t(column)] = unescapeCell(fields.at(f));
        // Bars beyond the layout's can only have come from inside the status,
        // the one cell of free text, written by a program that did not escape
        // them: they stay in the status. The time is the last field.
        if (fields.last().isEmpty())
            fields.removeLast();
        // A file with heights has one field more after the time.
        if (fields.size() > kSavedFields && isHeightCell(fields.last())) {
            result.cells[StationListModel::Height] = unescapeCell(fields.last());
            fields.removeLast();
        }
        result.cells[StationListModel::Time] = unescapeCell(fields.last());
        QString status;
        for (qsizetype f = 8; f + 1 < fields.size(); ++f) {
            if (f > 8)
                status += kBar;
            status += unescapeCell(fields.at(f));
        }
        result.cells[StationListModel::Status] = status;
    }
    // The log file is never taken from a file: only the check handler sets it.
    *parsed = result;
    return true;
}

StationListModel::Cells mergeCells(const Parsed &parsed)
{
    StationListModel::Cells cells = parsed.cells;
    const int last = parsed.fieldCount - 1;
    for (int column = last + 1; column < StationListModel::LogFile; ++column)
        cells[size_t(column)].clear();
    cells[StationListModel::LogFile].clear();
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
    *lines = decodeLines(file.readAll());
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
    std::vector<StationListModel::Cells> rows;
    rows.reserve(size_t(lines.size()));
    QSet<QString> taken;  // merging: the callsigns this file already added
    for (const QString &line : lines) {
        Parsed parsed;
        if (!parseLine(line, &parsed)) {
            if (!line.trimmed().isEmpty())
                ++result.skipped;
            continue;
        }
        if (merging) {
            const QString &callsign = parsed.cells[StationListModel::Station];
            if (model.find(callsign) >= 0 || taken.contains(callsign))
                continue;
            taken.insert(callsign);
            rows.push_back(mergeCells(parsed));
        } else {
            rows.push_back(parsed.cells);
        }
        ++result.added;
    }
    model.appendRows(std::move(rows));
    return result;
}

} // namespace

LoadResult load(const QString &path, StationListModel &model) { return addLines(path, model, false); }
LoadResult merge(const QString &path, StationListModel &model) { return addLines(path, model, true); }

} // namespace StationListFile
