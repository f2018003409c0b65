// The host's prefix.txt and callsigns matched against the index it built:
// a match is a prefix that starts the callsign, and no longer one would do.
#include "FuzzSupport.h"

#include "dx/BandTable.h"
#include "dx/DxMonitor.h"

namespace {

void checkLookUp(const DxMonitor &monitor, const QString &callsign)
{
    const DxCountries *country = monitor.prefixIndex().lookUp(callsign);
    const QString upper = callsign.toUpper();
    if (country) {
        fuzz::require(upper.startsWith(country->Prefix.toUpper()), "the prefix starts the callsign",
                      country->Prefix + QStringLiteral(" / ") + callsign);
        fuzz::require(monitor.notifyingCountry(callsign) == country, "a ticked line notifies");
    }
    // Letter case may change a length (ß is SS): count in the key.
    const qsizetype matched = country ? country->Prefix.toUpper().size() : 0;
    for (qsizetype n = matched + 1; n <= std::min<qsizetype>(upper.size(), 16); ++n)
        fuzz::require(!monitor.prefixIndex().find(upper.left(n)), "the longest prefix wins",
                      upper.left(n) + QStringLiteral(" / ") + callsign);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    BandTable bands;
    DxMonitor monitor(bands);
    monitor.addPrefixText(text, true);
    checkLookUp(monitor, text.left(12));
    checkLookUp(monitor, text.right(10));
    for (const QString &line : text.split(u'\n').mid(0, 8))
        checkLookUp(monitor, line.section(u',', 0, 0).section(u':', 0, 0).trimmed() + QStringLiteral("1AB"));
    monitor.prefixList().sort(1, Qt::DescendingOrder);
    return 0;
}
