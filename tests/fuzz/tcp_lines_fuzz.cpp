// Lines from an APRS-IS socket: the same bytes in one read or in many give
// the same lines, none longer than the limit, none a server comment.
#include "FuzzSupport.h"

#include "host/feeds/NetworkFeeds.h"

#include <QCoreApplication>

namespace {

class Probe : public AprsIsFeed
{
public:
    Probe() : AprsIsFeed(FeedSettings{})
    {
        connect(this, &Feed::lineReceived, this, [this](const QString &line) { lines.append(line); });
    }
    using AprsIsFeed::onData;
    QStringList lines;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication<QCoreApplication>();

    fuzz::Input in(data, size);
    const uint32_t seed = in.u32();
    const int repeat = 1 + in.byte() % 8;  // long lines need many bytes
    const QByteArray bytes = in.rest().repeated(repeat);

    Probe whole;
    whole.onData(bytes);
    Probe split;
    for (const QByteArray &piece : fuzz::pieces(bytes, seed))
        split.onData(piece);
    fuzz::require(split.lines == whole.lines, "reads in pieces give the lines of one read");
    fuzz::require(split.rejected() == whole.rejected(), "pieces reject what one read rejects");
    for (const QString &line : whole.lines) {
        fuzz::require(!line.isEmpty() && line.size() <= TcpFeed::MaxLine, "a line within the limit");
        fuzz::require(!line.contains(u'\r') && !line.contains(u'\n'), "a line holds no line end");
        fuzz::require(!line.startsWith(u'#'), "server comments are not frames", line);
    }
    return 0;
}
