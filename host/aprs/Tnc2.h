#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// One frame in the text form TNC2-style monitors print: SRC>DST,PATH:payload.
struct Tnc2Frame
{
    // The whole frame as text, SRC>DST,PATH:payload; payloadAt indexes the payload.
    QString text;
    int payloadAt = 0;
    QString source;
    QString destination;
    QStringList path;
    QString payload;

    // Sets text and payloadAt from the fields, for frames built in code.
    void rebuildText();
    // SRC>DST,PATH (no ":" and no port text)
    QString addressText() const;
    QString toLine() const { return text; }
    // The monitor header line: address text + " Port=1 <UI C Len=NN>:".
    QString monitorHeader() const;
    // Header, CR LF, payload, CR LF: what the hot link delivers per frame.
    // The receiver drops a leading "0" or "1" as the link's flag character,
    // so a source starting with one of them goes with a flag of its own.
    QString monitorText() const;
    // No digipeater marked as having repeated the frame, and not via the internet.
    bool heardDirect() const;
};

// A replay or feed line with an optional leading time stamp
// ("HH:MM:SS " or "YYYY-MM-DD HH:MM:SS "). secondsOfDay is -1 when absent.
struct StampedLine
{
    int secondsOfDay = -1;
    QStringView text;
};
StampedLine splitTimeStamp(QStringView line);

// Parses SRC>DST[,PATH...]:payload; false (frame untouched) when the line is
// not a frame. Callsigns are checked loosely: 1-9 printable, non-blank
// characters, at most 8 path elements.
bool parseTnc2(QStringView line, Tnc2Frame *frame);
// The same, keeping a reference to line instead of a copy when it can.
bool parseTnc2(const QString &line, Tnc2Frame *frame);
