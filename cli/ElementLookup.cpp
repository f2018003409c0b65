#include "cli/ElementLookup.h"

#include "satellites/KepsFile.h"

#include <QFile>

ElementLookup lookUpElements(const QString &file, const QString &name, const char *command, QTextStream &err,
                             orbiter::Sgp4Mode mode)
{
    ElementLookup found;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        err << command << ": cannot read " << file << ": " << in.errorString() << "\n";
        found.status = 1;
        return found;
    }
    const KepsReadResult read = readKeps(in.readAll());
    const KepsElementSet *set = nullptr;
    for (const KepsElementSet &each : read.sets)
        if (each.name == name) {
            set = &each;
            break;
        }
    // An exact name first; any letter case when that finds none.
    if (!set)
        for (const KepsElementSet &each : read.sets)
            if (each.name.compare(name, Qt::CaseInsensitive) == 0) {
                set = &each;
                break;
            }
    if (!set && read.findRejected(name)) {
        const RejectedElementSet *rejected = read.findRejected(name);
        err << command << ": the element set \"" << rejected->name << "\" in " << file << " was not read: "
            << rejected->why() << "\n";
        found.status = 1;
        return found;
    }
    if (!set) {
        err << command << ": no element set named \"" << name << "\" in " << file << "\n";
        found.status = 2;
        return found;
    }
    orbiter::ElementSet elements;
    elements.name = set->name.toStdString();
    std::string why;
    if (!orbiter::parseElementSet(set->line1.toLatin1().toStdString(), set->line2.toLatin1().toStdString(),
                                  elements, &why)) {
        err << command << ": the element set \"" << set->name << "\" cannot be used: " << QString::fromStdString(why)
            << "\n";
        found.status = 1;
        return found;
    }
    found.model.init(elements, mode);
    return found;
}
