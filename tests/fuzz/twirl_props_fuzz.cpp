// Feeds arbitrary bytes to the knob's persistence loaders: as a data stream,
// and as a property bag whose entries (names, types, values) the bytes choose.
// The knob is drawn after each load, with whatever was loaded. Fontconfig
// keeps caches that LeakSanitizer reports at exit: scripts/fuzz runs it
// with ASAN_OPTIONS=detect_leaks=0.
#include "FuzzSupport.h"

#include "knob/CTwirlCtrl.h"
#include "knob/TwirlDispIds.h"
#include "knob/TwirlPropExchange.h"

#include <QApplication>
#include <QColor>
#include <QDataStream>
#include <QMetaProperty>
#include <QVariantMap>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

QVariantMap bagFromBytes(const uint8_t *data, size_t size)
{
    static const QList<QByteArray> names = [] {
        QList<QByteArray> n{"_Version", "Unknown"};
        for (int id = -520; id <= 30; ++id) {
            const QByteArray name = twirl::propertyName(id);
            if (!name.isEmpty())
                n.push_back(name);
        }
        return n;
    }();
    QVariantMap bag;
    size_t i = 0;
    auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
    while (i + 2 <= size) {
        const QString key = QString::fromLatin1(names[next() % names.size()]);
        switch (next() % 6) {
        case 0: {
            qint32 v = 0;
            for (int b = 0; b < 4; ++b)
                v = (v << 8) | next();
            bag[key] = v;
            break;
        }
        case 1: bag[key] = bool(next() & 1); break;
        case 2: {
            const size_t n = std::min<size_t>(next() % 16, size - i);
            bag[key] = QString::fromLatin1(reinterpret_cast<const char *>(data + i), qsizetype(n));
            i += n;
            break;
        }
        case 3: bag[key] = QColor(next(), next(), next()); break;
        case 4: bag[key] = double(int8_t(next())) * 1e6; break;
        default: bag[key] = QVariant(); break;
        }
    }
    return bag;
}

// Setting a property to the value loaded for it changes nothing: loading
// keeps the limits the setters keep. Position and Value move each other, and
// the fine ring's width is fitted to the size when drawn, so they are left out.
void checkWithinSetterLimits(CTwirlCtrl &knob)
{
    const QMetaObject *mo = knob.metaObject();
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        const QByteArray name = p.name();
        if (!p.isWritable() || (p.typeId() != QMetaType::Int && !p.isEnumType()) || name == "Position"
            || name == "Value" || name == "FineAdjustWidth")
            continue;
        const int loaded = p.read(&knob).toInt();
        p.write(&knob, loaded);
        fuzz::require(p.read(&knob).toInt() == loaded, "loaded values keep the setters' limits",
                      QString::fromLatin1(name) + u' ' + QString::number(loaded));
    }
    fuzz::require(knob.Min() <= knob.Value() && knob.Value() <= knob.Max(), "Value within Min and Max");
    fuzz::require(knob.Position() >= 0 && knob.Position() < 360, "Position within a turn");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication<QApplication>();

    // A knob of its own for each way in: nothing carries over between inputs.
    {
        CTwirlCtrl knob;
        knob.resize(64, 64);
        QDataStream in(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
        twirl::loadFromStream(knob, in);
        knob.grab();
        checkWithinSetterLimits(knob);
    }
    {
        CTwirlCtrl knob;
        knob.resize(64, 64);
        twirl::loadFromBag(knob, bagFromBytes(data, size));
        knob.grab();
        checkWithinSetterLimits(knob);
    }
    return 0;
}
