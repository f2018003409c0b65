// Feeds arbitrary bytes to the knob's persistence loaders (a data stream, and
// a property bag read from one), then draws the knob with what was loaded.
#include "knob/CTwirlCtrl.h"
#include "knob/TwirlPropExchange.h"

#include <QApplication>
#include <QDataStream>

#include <cstddef>
#include <cstdint>

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

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    knob->ResetState();
    {
        QDataStream in(bytes);
        twirl::loadFromStream(*knob, in);
    }
    knob->grab();
    {
        QDataStream in(bytes);
        QVariantMap bag;
        in >> bag;
        knob->ResetState();
        twirl::loadFromBag(*knob, bag);
    }
    knob->grab();
    return 0;
}
