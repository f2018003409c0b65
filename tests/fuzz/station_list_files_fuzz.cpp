// Station list files loaded and merged whole: every line either fills a row
// or is counted as skipped, what is loaded saves and loads back the same,
// and a merge never adds a station the list already has.
#include "FuzzSupport.h"

#include "stations/StationListFile.h"
#include "stations/StationListModel.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

bool sameRows(const StationListModel &a, const StationListModel &b)
{
    if (a.count() != b.count())
        return false;
    for (int r = 0; r < a.count(); ++r)
        for (int c = 0; c < StationListModel::LogFile; ++c)
            if (a.cell(r, c) != b.cell(r, c))
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The model draws its icons up front.
    fuzz::startApplication<QGuiApplication>();
    // Only the folder outlives an input; the files are written afresh.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.kel"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QStringList lines;
    fuzz::require(StationListFile::readLines(path, &lines, nullptr), "the file reads");
    qsizetype written = 0;
    for (const QString &line : lines)
        written += line.trimmed().isEmpty() ? 0 : 1;

    StationListModel loaded;
    const StationListFile::LoadResult result = StationListFile::load(path, loaded);
    fuzz::require(result.opened && result.added == loaded.count(), "every row added is counted");
    fuzz::require(result.added + result.skipped == written, "every line fills a row or is counted as skipped");
    for (int r = 0; r < loaded.count(); ++r)
        fuzz::require(loaded.cell(r, StationListModel::LogFile).isEmpty(), "no log file comes from a file");

    const QString savedPath = dir.filePath(QStringLiteral("saved.kel"));
    fuzz::require(StationListFile::save(savedPath, loaded, nullptr), "a loaded list saves");
    StationListModel again;
    StationListFile::load(savedPath, again);
    fuzz::require(sameRows(loaded, again), "what is saved loads back the same");

    StationListModel merged;
    if (loaded.count() > 0)
        merged.appendRow(loaded.row(0).cells);
    StationListFile::merge(path, merged);
    for (int r = 0; r < merged.count(); ++r)
        fuzz::require(merged.find(merged.cell(r, StationListModel::Station)) == r, "a merge adds no station twice",
                      merged.cell(r, StationListModel::Station));
    return 0;
}
