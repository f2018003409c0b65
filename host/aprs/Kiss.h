#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Cuts a KISS byte stream into frames. Bytes arrive in arbitrary pieces: a
// frame may be split across reads and one read may hold several frames.
class KissDeframer
{
public:
    static constexpr char Fend = char(0xC0);
    static constexpr char Fesc = char(0xDB);
    static constexpr char Tfend = char(0xDC);
    static constexpr char Tfesc = char(0xDD);
    // Longer frames are garbage for APRS; dropping them bounds memory.
    static constexpr int MaxFrame = 1024;

    // Returns the data frames completed by these bytes, without the KISS
    // command byte. Frames for other commands than data are skipped.
    QList<QByteArray> feed(const QByteArray &bytes);
    void reset();

private:
    QByteArray m_frame;
    bool m_inFrame = false;
    bool m_escape = false;
    bool m_overflow = false;
};

// Wraps an AX.25 frame for sending to a KISS TNC (port 0, data).
QByteArray kissEncode(const QByteArray &ax25);

// Decodes an AX.25 UI frame to TNC2 text "SRC>DST,DIGI*,...:payload", with "*"
// after the last digipeater whose has-been-repeated bit is set. False for
// anything that is not a well-formed UI frame.
bool ax25ToTnc2(const QByteArray &frame, QString *line);

// Builds an AX.25 UI frame from TNC2 text (tests and the bench use it);
// false for one longer than a KISS frame carries.
bool tnc2ToAx25(const QString &line, QByteArray *frame);
