#include "core/FixedFont.h"

#include <QFontDatabase>
#include <QFontInfo>

QFont fixedPitchFont(const QString &named)
{
    QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(system).fixedPitch())
        return system;
    QFont font(named);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (QFontInfo(font).fixedPitch())
        return font;
    // Neither reports fixed pitch: the style hint still gives fontconfig
    // the best chance of a monospaced face.
    QFont generic(QStringLiteral("monospace"));
    generic.setStyleHint(QFont::TypeWriter);
    generic.setFixedPitch(true);
    return generic;
}
