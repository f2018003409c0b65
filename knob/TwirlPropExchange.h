#pragma once

// Property exchange: one description of what the knob persists, driven in
// either direction against a property bag, a data stream or the defaults.

#include "twirl_global.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariantMap>

class QDataStream;
class CTwirlCtrl;

namespace twirl {

class TWIRL_EXPORT PropExchange
{
public:
    virtual ~PropExchange();
    virtual bool isLoading() const = 0;
    virtual void exchangeVersion(quint32 &version, quint32 def) = 0;
    virtual void exchangeShort(const char *name, short &v, short def) = 0;
    virtual void exchangeLong(const char *name, qint32 &v, qint32 def) = 0;
    virtual void exchangeBool(const char *name, bool &v, bool def) = 0;
    virtual void exchangeColor(const char *name, QColor &v, const QColor &def) = 0;
    virtual void exchangeString(const char *name, QString &v, const QString &def) = 0;
    // A default QFont (nothing resolved) stands for the inherited font.
    virtual void exchangeFont(const char *name, QFont &v, const QFont &def) = 0;
    // A stock colour; invalid means "follow the palette", stored as the
    // system colour given (with the high bit set), or left out of a bag.
    virtual void exchangeStockColor(const char *name, QColor &v, quint32 systemColour) = 0;
    // A property added after the first release: streams written before it
    // end without it, and that is no error.
    virtual void exchangeAddedBool(const char *name, bool &v, bool def) { exchangeBool(name, v, def); }
};

// The system colours that stand for a stock colour following the palette.
inline constexpr quint32 kSystemWindow = 0x8000000Fu;       // background
inline constexpr quint32 kSystemWindowText = 0x80000008u;   // text

// Colours travel as 24-bit values with red in the low byte.
TWIRL_EXPORT quint32 toOleColor(const QColor &c);
// A value with the high bit set names a system colour; it maps to the palette.
TWIRL_EXPORT QColor fromOleColor(quint32 v);

TWIRL_EXPORT QVariantMap saveToBag(CTwirlCtrl &ctrl);
// Missing or unreadable entries take their defaults; false when any did.
TWIRL_EXPORT bool loadFromBag(CTwirlCtrl &ctrl, const QVariantMap &bag);
TWIRL_EXPORT void saveToStream(CTwirlCtrl &ctrl, QDataStream &out);
// On a short or corrupt stream the rest takes its defaults and false is returned.
TWIRL_EXPORT bool loadFromStream(CTwirlCtrl &ctrl, QDataStream &in);

} // namespace twirl
