// A KISS byte stream read whole and in pieces, each completed frame decoded
// as AX.25. The pieces give the frames one read gives; a decoded frame
// encodes back to a frame that decodes the same, and survives KISS framing.
// The input is also sent as a frame's content, escaped, read whole, a byte
// at a time and in pieces, and made longer than a frame: it comes back as
// sent, or not at all when too long, and the frame after it always comes.
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

    const QByteArray after = QByteArrayLiteral("\x82\xa0" "after");
    auto expected = [&after](const QByteArray &content) {
        QList<QByteArray> out;
        if (!content.isEmpty() && content.size() <= KissDeframer::MaxFrame)
            out.append(content);
        out.append(after);
        return out;
    };
    auto readEveryWay = [&](const QByteArray &content, const char *what) {
        const QByteArray stream = kissEncode(content) + kissEncode(after);
        KissDeframer one;
        fuzz::require(one.feed(stream) == expected(content), what);
        KissDeframer inPieces;
        QList<QByteArray> got;
        for (const QByteArray &piece : fuzz::pieces(stream, seed ^ 0x5a5a5a5a))
            got += inPieces.feed(piece);
        fuzz::require(got == expected(content), what);
        // A byte at a time splits every escape from what it escapes.
        if (stream.size() <= 4 * KissDeframer::MaxFrame) {
            KissDeframer bytewise;
            got.clear();
            for (char byte : stream)
                got += bytewise.feed(QByteArray(1, byte));
            fuzz::require(got == expected(content), what);
        }
        // Whatever came before, a fresh start frames the same.
        KissDeframer dirty;
        dirty.feed(bytes);
        dirty.reset();
        fuzz::require(dirty.feed(stream) == expected(content), what);
    };
    readEveryWay(bytes, "a frame's content comes back as sent");
    if (!bytes.isEmpty()) {
        QByteArray oversized = bytes;
        while (oversized.size() <= KissDeframer::MaxFrame)
            oversized += bytes;
        readEveryWay(oversized, "a frame too long is dropped and the next still comes");
        // The longest frame that fits, and one byte more.
        readEveryWay(oversized.left(KissDeframer::MaxFrame), "the longest frame comes whole");
        readEveryWay(oversized.left(KissDeframer::MaxFrame + 1), "one byte too long is dropped");
    }
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
