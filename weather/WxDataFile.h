#pragma once

#include <QDateTime>
#include <QString>

class QFile;
#include <QStringList>

// One station's weather data file (.kew): a profile text file with one
// section per day, "[dd/MM/yyyy]", and keys "Value1", "Value2", ... in order
// of arrival. Each value is the report's date and time, the byte 0xFD and the
// report, each side in Latin-1 or, when it does not fit, UTF-8. CR LF; files
// from the Windows program read as they are.
//
// Storing appends one line at the end of the file when the day's section is
// the last one (always so for live traffic), so a year of reports costs no
// more than a day's, and a crash in the middle of a store can damage only
// the line being written.
class WxDataFile
{
public:
    explicit WxDataFile(QString path);
    const QString &path() const { return m_path; }

    // Stores one report under the first "Value" number of its day that is
    // missing or empty. CR LF pairs are removed and the report is trimmed.
    // A failed store leaves the file as it was and gives the system's reason.
    bool append(const QDateTime &reportTime, const QString &report, QString *errorText = nullptr);

    // The section names, each once, in date order (names that are no date first).
    QStringList days() const;
    // "value1", "value2", ... of the day's section up to the first that is
    // missing or empty, each cut to what a profile read returns.
    QStringList dayValues(const QString &day) const;

    // Forgets what earlier stores learnt about the ends of files, as after
    // a start of the program (the next store reads the file's end again).
    static void forgetTails();

    // The longest value a profile read gives back.
    static constexpr int MaxValueLength = 1023;

private:
    bool rewriteWith(const QString &day, const QByteArray &value, QString *errorText);
    static bool writeAtEnd(QFile &file, qint64 size, const QByteArray &line, QString *errorText);

    QString m_path;
};

namespace WxData {

// The byte between a value's date and time and its report.
inline constexpr char16_t Separator = 0xFD;

// The section name of a day and the date and time text of a value.
QString dayText(const QDate &date);
QString timeText(const QDateTime &time);
// A section name back to a date; invalid when it is in another form.
QDate dayDate(const QString &day);

// The file of a station: data folder + "/WxData/" + callsign + ".kew", the
// callsign without a trailing "*". Empty when the callsign cannot name a
// file (empty, too long, or holding anything but letters, digits, "-" and "_"),
// so that text from the air never becomes a path.
QString fileForCallsign(const QString &callsign);
QString folder();

struct StoredReport
{
    QString timeText;  // the date and time as stored
    QTime timeOfDay;   // 00:00:00 when the text gives none
    QString report;
};

// Splits a value at its first 0xFD. A value without one is all report.
StoredReport splitValue(const QString &value);
// The time of day in a stored date and time text: "14:05:00", "2:05:00 PM",
// or none (a date alone is midnight, as the Windows program wrote it).
QTime timeOfDay(const QString &text);

} // namespace WxData
