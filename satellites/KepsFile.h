#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One element set as the element file gives it: a name line and the two
// element lines, text as read.
struct KepsElementSet
{
    QString name;
    QString line1;
    QString line2;
};

// The program-wide element table, filled only by LoadKeps.
struct ElementTable
{
    static constexpr int Capacity = 101;

    QList<KepsElementSet> sets;  // in file order, at most Capacity
    int beyondCapacity = 0;      // sets the file had past the capacity, not kept
    QString fileName;            // of the file last read

    // The index of the last set (number of sets - 1; -1 when empty).
    qint16 lastIndex() const { return qint16(sets.size() - 1); }
};

ElementTable &keps();

// A set the file names but that was not kept, and why.
struct RejectedElementSet
{
    enum class Reason { CheckDigit, MissingLine1, MissingLine2 };
    QString name;
    Reason reason = Reason::CheckDigit;

    // "its lines fail their check digit", "its line 2 is missing" ...
    QString why() const;
};

// What one read of an element file found.
struct KepsReadResult
{
    QList<KepsElementSet> sets;
    int beyondCapacity = 0;
    // In file order; none of them kept.
    QList<RejectedElementSet> rejected;

    // The first rejected set of that name, in any letter case when no
    // name matches exactly; null when there is none.
    const RejectedElementSet *findRejected(const QString &name) const;
};

// Reads element sets from the text of an element file: items end at a line
// end or at a comma outside double quotes, blank items are skipped, and a
// set whose lines are out of step (a stray line, a name split at a comma) is
// brought back in step. A set cut short by the end of the file is dropped.
KepsReadResult readKeps(const QByteArray &content);

// The catalogue number's columns of an element line, as written there.
QString catalogueField(const QString &line);

// Replaces the element table with the sets of the file at path and says so
// when nothing usable was found or sets had to be left out.
void LoadKeps(const QString &strPath);

// "dd/mm/yyyy" of the epoch in an element line 1, as the selection dialog
// shows it; empty when the line has no readable epoch.
QString kepsDated(const QString &line1);
