// Element files, and the element lines they give to the orbit model: at
// most 101 sets kept, and a state the model gives without an error is finite.
#include "FuzzSupport.h"

#include "orbiter/ElementLine.h"
#include "orbiter/ElementSet.h"
#include "orbiter/Sgp4.h"
#include "satellites/KepsFile.h"

#include <cmath>

namespace {

void propagate(const std::string &line1, const std::string &line2)
{
    orbiter::ElementSet elements;
    if (!orbiter::parseElementSet(line1, line2, elements))
        return;
    orbiter::Sgp4 model;
    if (model.init(elements) != orbiter::Sgp4Error::None)
        return;
    for (double minutes : {0.0, 720.0, -1440.0}) {
        orbiter::Vec3 r, v;
        if (model.propagate(minutes, r, v) != orbiter::Sgp4Error::None)
            continue;
        fuzz::require(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.z) && std::isfinite(v.x)
                          && std::isfinite(v.y) && std::isfinite(v.z),
                      "a propagated state is finite", QString::fromStdString(line1 + "\n" + line2));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const KepsReadResult read = readKeps(bytes);
    fuzz::require(read.sets.size() <= 101, "at most 101 sets");
    for (const KepsElementSet &set : read.sets) {
        // Whatever the encoding of the names, only whole, checked sets get through.
        fuzz::require(!set.name.isEmpty() && ElementLine::checked(set.line1.toStdString())
                          && ElementLine::checked(set.line2.toStdString()),
                      "only named sets with checked lines", set.line1 + u'\n' + set.line2);
        propagate(set.line1.toLatin1().toStdString(), set.line2.toLatin1().toStdString());
        (void)kepsDated(set.line1);
    }
    (void)kepsDated(QString::fromLatin1(bytes.left(40)));
    // The catalogue field lies inside columns 3 to 7 of whatever line it is given.
    const QString head = QString::fromLatin1(bytes.left(80));
    const QString field = catalogueField(head);
    fuzz::require(field.size() <= 5 && (field.isEmpty() || head.mid(2, 5).contains(field)),
                  "the catalogue field is cut from columns 3 to 7", head);
    // The element lines straight, as a second way in.
    const qsizetype split = bytes.indexOf('\n');
    if (split > 0)
        propagate(bytes.left(split).toStdString(), bytes.mid(split + 1).toStdString());
    return 0;
}
