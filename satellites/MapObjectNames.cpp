#include "satellites/MapObjectNames.h"

#include <QHash>
#include <QSet>

namespace {

constexpr int kLength = 9;
constexpr QChar kJoin = u'~';

QString cut(const QString &name, int length)
{
    return name.left(length).trimmed();
}

// The least number of closing characters (up to seven, which leaves the
// beginning one) that tells the different names apart; 0 when none does.
int tailTellingApart(const QStringList &names)
{
    for (int tail = 1; tail <= kLength - 2; ++tail) {
        QSet<QString> seen;
        bool apart = true;
        for (const QString &name : names)
            if (!seen.contains(name.right(tail)))
                seen.insert(name.right(tail));
            else
                apart = false;
        if (apart)
            return tail;
    }
    return 0;
}

} // namespace

QStringList mapObjectNames(const QStringList &setNames)
{
    QStringList full;
    for (const QString &name : setNames)
        full << name.trimmed();

    // Short names stand; a long one is cut to the limit.
    QStringList names;
    QHash<QString, QStringList> longByCut;  // the different long names behind each cut
    QHash<QString, int> shortNames;
    for (const QString &name : full) {
        names << cut(name, kLength);
        if (name.size() > kLength) {
            QStringList &group = longByCut[names.last()];
            if (!group.contains(name))
                group << name;
        } else {
            ++shortNames[name];
        }
    }

    // Cuts that meet another name keep their beginning and as much of their
    // end as tells the different long names apart: STARLIN~7, STARLIN~8.
    for (qsizetype i = 0; i < full.size(); ++i) {
        if (full[i].size() <= kLength)
            continue;
        const QStringList &group = longByCut[names[i]];
        if (group.size() < 2 && !shortNames.contains(names[i]))
            continue;
        if (const int tail = tailTellingApart(group); tail > 0)
            names[i] = cut(full[i], kLength - 1 - tail) + kJoin + full[i].right(tail);
    }

    // Whatever is still alike (a set listed twice) is numbered in table
    // order; the first keeps its name.
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!names.mid(0, i).contains(names[i]))
            continue;
        for (int n = 2;; ++n) {
            const QString suffix = kJoin + QString::number(n);
            const QString numbered = cut(names[i], kLength - int(suffix.size())) + suffix;
            if (!names.contains(numbered)) {
                names[i] = numbered;
                break;
            }
        }
    }
    return names;
}
