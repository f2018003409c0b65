#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One named frequency range, edges in kHz, both inclusive.
struct BandDetail
{
    qint32 lower = 0;
    qint32 upper = 0;
    QString name;
    bool enabled = true;

    bool operator==(const BandDetail &) const = default;
};

// The amateur bands DX spots are sorted into: the table of the file
// BandDetails.txt in the data folder, or the built-in bands when there is no
// such file. One table serves the whole program (bandTable()); the DX window
// fills it when it loads and writes it back when it unloads, the options
// dialog edits it in between. Table order decides overlaps: the first band
// holding a frequency wins.
//
// The file: lines starting "'" are comments; every other line is
// "lower|upper|name", the edges read as leading numbers rounded half to even,
// the name everything after the second "|", as it stands. The enabled flag is
// not stored: every band is enabled after loading.
class BandTable
{
public:
    static constexpr int Capacity = 101;
    static inline const QString FileName = QStringLiteral("BandDetails.txt");
    // What a frequency outside every band is filed under.
    static inline const QString OtherBand = QStringLiteral("Other");

    // The 20 bands used when BandDetails.txt does not exist, all enabled.
    static QList<BandDetail> builtIn();
    // BandDetails.txt in the data folder.
    static QString defaultPath();

    // Fills the table from BandDetails.txt when it exists, otherwise from the
    // built-in bands. Lines that cannot be read, and bands past the capacity,
    // are skipped and reported in one message. A file that cannot be opened
    // is reported and the built-in bands are used.
    void SetupBands();
    // Rewrites BandDetails.txt through a temporary file renamed over the old
    // one, so a failed write leaves the old file as it was. A failure is
    // reported; false then.
    bool SaveBandData() const;

    // The name of the first band that holds the frequency (kHz, read as a
    // leading number), or "Other" when none does or that band has no name.
    QString GetBand(const QString &frequency) const;
    // True when a band has exactly this name (letter case counts) and is enabled.
    bool IsBandEnabled(const QString &name) const;

    const QList<BandDetail> &bands() const { return m_bands; }
    int count() const { return int(m_bands.size()); }
    // Replaces the whole table, in the given order; bands past the capacity are dropped.
    void setBands(const QList<BandDetail> &bands);
    void setEnabled(int index, bool enabled);

    // The file format on its own, for the tool and the tests.
    // Parses file text (Latin-1, CR LF or LF). problems gets one line per
    // skipped line, and one for bands past the capacity.
    static QList<BandDetail> parse(const QByteArray &text, QStringList *problems = nullptr);
    // The eight comment lines, then one line per band, CR LF line ends.
    static QByteArray format(const QList<BandDetail> &bands);
    // Reads a file; false with the reason when it cannot be opened.
    static bool readFile(const QString &path, QList<BandDetail> *bands, QStringList *problems,
                         QString *errorText);
    // Writes a whole file through a temporary file; false with the reason.
    static bool writeFile(const QString &path, const QList<BandDetail> &bands, QString *errorText);

private:
    QList<BandDetail> m_bands = builtIn();
};

// The program's band table.
BandTable &bandTable();
