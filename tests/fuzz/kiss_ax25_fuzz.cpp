// A KISS byte stream read whole and in pieces, each completed frame decoded
// as AX.25. The pieces give the frames one read gives; a decoded frame
// encodes back to a frame that decodes the same, and survives KISS framing.
#include "FuzzSupport.h"

#include "host/aprs/Kiss.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const uint32_t seed = in.u32();
    const QByteArray bytes = in.rest();

    KissDeframer whole;
    const QList<QByteArray> frames = whole.feed(bytes);
    KissDeframer split;
    QList<QByteArray> pieces;
    for (const QByteArray &piece : fuzz::pieces(bytes, seed))
        pieces += split.feed(piece);
    fuzz::require(pieces == frames, "reads in pieces give the frames of one read");

    for (const QByteArray &frame : frames)
        fuzz::require(frame.size() <= KissDeframer::MaxFrame, "frames bounded");
    // The input itself is tried as an AX.25 frame too, whatever its length.
    for (const QByteArray &frame : frames + QList<QByteArray>{bytes}) {
        QString line;
        if (!ax25ToTnc2(frame, &line))
            continue;
        QByteArray encoded;
        if (!tnc2ToAx25(line, &encoded))
            continue;
        QString again;
        fuzz::require(ax25ToTnc2(encoded, &again) && again == line, "decode, encode, decode is stable",
                      line + QStringLiteral(" / ") + again);
        KissDeframer back;
        const QList<QByteArray> unframed = back.feed(kissEncode(encoded));
        fuzz::require(encoded.size() > KissDeframer::MaxFrame || unframed == QList<QByteArray>{encoded},
                      "KISS framing round trips");
    }
    return 0;
}
