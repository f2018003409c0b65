#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text from the air and the net comes as bytes in no declared encoding:
// newer stations send UTF-8, older ones Latin-1. Valid UTF-8 is taken as
// UTF-8 and anything else as Latin-1, so neither arrives as "GrÃ¼ÃŸe".
QString textFromAir(QByteArrayView bytes);

// The other way: Latin-1 when every character fits, else UTF-8, so that
// textFromAir reads back what was written.
QByteArray textToAir(const QString &text);
