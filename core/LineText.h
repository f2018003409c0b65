#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Text from the air, the net and files comes as bytes in no declared
// encoding: the Windows program and older stations wrote Latin-1, newer ones
// UTF-8. A line that is valid UTF-8 is read as UTF-8 and any other as
// Latin-1, so neither arrives as "GrÃ¼ÃŸe"; a leading byte-order mark is
// dropped.
QString decodeLine(QByteArrayView bytes);

// The other way: Latin-1 when every character fits, so that files stay
// readable by the Windows program, else UTF-8, so that nothing typed or
// heard turns into "?". decodeLine reads back what was written.
QByteArray encodeLine(const QString &text);

// The lines of a text file, each decoded on its own (a file may mix both
// encodings). CR LF, a lone CR and a lone LF each end a line; a line end at
// the very end starts no further line.
QStringList decodeLines(QByteArrayView bytes);
