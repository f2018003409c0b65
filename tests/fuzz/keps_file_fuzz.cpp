// Element files, and the element lines they give to the orbit model.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "orbiter/ElementSet.h"
#include "orbiter/Sgp4.h"
#include "satellites/ElementChecksum.h"
#include "satellites/KepsFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const KepsReadResult read = readKeps(bytes);
    for (const KepsElementSet &set : read.sets) {
        // Whatever the encoding of the names, only whole, checked sets get through.
        if (set.name.isEmpty() || !ElementChecksum::valid(set.line1.toStdString())
            || !ElementChecksum::valid(set.line2.toStdString()))
            std::abort();
        orbiter::ElementSet elements;
        if (!orbiter::parseElementSet(set.line1.toLatin1().toStdString(), set.line2.toLatin1().toStdString(), elements))
            continue;
        orbiter::Sgp4 model;
        model.init(elements);
        orbiter::Vec3 r, v;
        (void)model.propagate(720.0, r, v);
    }
    (void)kepsDated(QString::fromLatin1(bytes.left(40)));
    // The element lines straight, as a second way in.
    const qsizetype split = bytes.indexOf('\n');
    if (split > 0) {
        orbiter::ElementSet elements;
        (void)orbiter::parseElementSet(bytes.left(split).toStdString(), bytes.mid(split + 1).toStdString(), elements);
    }
    return 0;
}
