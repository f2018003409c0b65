// Feeds arbitrary bytes to the knob's persistence loaders: as a data stream,
// and as a property bag whose entries (names, types, values) the bytes choose.
// The knob is drawn after each load, with whatever was loaded. Fontconfig
// keeps caches that LeakSanitizer reports at exit: run with
// ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen.
#include "knob/CTwirlCtrl.h"
#include "knob/TwirlDispIds.h"
#include "knob/TwirlPropExchange.h"

#include <QApplication>
#include <QColor>
#include <QDataStream>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "twirl_props_fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(app);
    static CTwirlCtrl *knob = [] {
        auto *k = new CTwirlCtrl;
        k->resize(64, 64);
        return k;
    }();

    knob->ResetState();
    QDataStream in(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    twirl::loadFromStream(*knob, in);
    knob->grab();

    knob->ResetState();
    twirl::loadFromBag(*knob, bagFromBytes(data, size));
    knob->grab();
    return 0;
}
