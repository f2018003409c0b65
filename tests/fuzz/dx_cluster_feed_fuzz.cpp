// What a DX cluster sends over telnet: commands stripped, the login prompt
// answered, spot lines passed on. The same bytes in one read or in many
// give the same spots and the same login, and a spot passed on is a spot.
#include "FuzzSupport.h"

#include "host/feeds/DxSpotLine.h"
#include "host/feeds/NetworkFeeds.h"

#include <QCoreApplication>

namespace {

class Probe : public DxClusterFeed
{
public:
    Probe() : DxClusterFeed(FeedSettings{})
    {
        connect(this, &Feed::spotReceived, this, [this](const QString &line) { spots.append(line); });
    }
    using DxClusterFeed::onData;
    QStringList spots;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication<QCoreApplication>();

    fuzz::Input in(data, size);
    const uint32_t seed = in.u32();
    const QByteArray bytes = in.rest();

    Probe whole;
    whole.onData(bytes);
    Probe split;
    for (const QByteArray &piece : fuzz::pieces(bytes, seed))
        split.onData(piece);
    fuzz::require(split.spots == whole.spots, "reads in pieces give the spots of one read");
    fuzz::require(split.loggedIn() == whole.loggedIn(), "reads in pieces log in as one read does");
    for (const QString &line : whole.spots) {
        DxSpotLine spot;
        fuzz::require(parseDxSpotLine(line, &spot), "a spot passed on is a spot", line);
        for (QChar c : line)
            fuzz::require(c.unicode() >= 0x20, "a spot holds no control characters", line);
    }
    return 0;
}
