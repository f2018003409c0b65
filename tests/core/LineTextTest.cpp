#include "core/LineText.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(LineText, Utf8WhenValidLatin1OtherwiseAndNoByteOrderMark)
{
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"plain", "plain"},
        {"Gr\xFC\xDF" "e", QStringLiteral("Gr\u00FC\u00DFe")},
        {QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442").toUtf8(), QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442")},
        {"\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e", QStringLiteral("Gr\u00FC\u00DFe")},
        {"\xEF\xBB\xBF" "Gr\xFC\xDF" "e", QStringLiteral("Gr\u00FC\u00DFe")},  // a mark before Latin-1 too
        {"ab\xC3", QStringLiteral("ab\u00C3")},          // a cut sequence is not UTF-8
        {"\xC0\xAF", QStringLiteral("\u00C0\u00AF")},    // nor an overlong one
        {"\xED\xA0\x80", QStringLiteral("\u00ED\u00A0\u0080")},  // nor a lone surrogate
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(decodeLine(c.bytes), c.text) << c.bytes.toHex().constData();

    EXPECT_EQ(encodeLine(QStringLiteral("Gr\u00FC\u00DF")), QByteArray("Gr\xFC\xDF"));
    EXPECT_EQ(encodeLine(QStringLiteral("Gr\u00FC\u00DF \u2013")), QStringLiteral("Gr\u00FC\u00DF \u2013").toUtf8());
    // Latin-1 that would read back as UTF-8 ("Ã©" is the UTF-8 of "é") goes out as UTF-8.
    // ... as does Latin-1 whose first bytes would read as a byte-order mark.
    for (const QString &text : {QStringLiteral("\u00C3\u00A9"), QStringLiteral("\u00EF\u00BB\u00BFKey\u00FF")})
        EXPECT_EQ(decodeLine(encodeLine(text)), text);

    // Lines of both kinds in one file, with every kind of line end.
    const QByteArray file = "\xEF\xBB\xBF" "one\xFC\r\n" + QStringLiteral("\u0434\u0432\u0430").toUtf8()
                            + "\rthree\n\r\nfive\r\n";
    EXPECT_EQ(decodeLines(file), QStringList({QStringLiteral("one\u00FC"), QStringLiteral("\u0434\u0432\u0430"),
                                              "three", "", "five"}));
    EXPECT_EQ(decodeLines("no end"), QStringList({"no end"}));
}

// Whatever a line holds, it is written so that it reads back as it was.
TEST(LineTextGarbage, AnyLineReadsBackAsWrittenAndAnyBytesRead)
{
    QRandomGenerator random(25);
    const char32_t ranges[][2] = {{0x20, 0x7E}, {0xA0, 0xFF}, {0x80, 0x9F}, {0x100, 0x7FF}, {0x800, 0xD7FF},
                                  {0xE000, 0xFFFD}, {0x10000, 0x10FFFF}};
    for (int round = 0; round < 20000; ++round) {
        QString text;
        const int length = int(random.bounded(24));
        for (int i = 0; i < length; ++i) {
            const auto &range = ranges[random.bounded(int(std::size(ranges)))];
            const char32_t c = range[0] + random.bounded(range[1] - range[0] + 1);
            text += c == 0xFEFF ? QStringLiteral("x") : QString::fromUcs4(&c, 1);  // a leading one is a mark
        }
        ASSERT_EQ(decodeLine(encodeLine(text)), text) << text.toStdString();

        QByteArray bytes(int(random.bounded(40)), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        const QStringList lines = decodeLines(bytes);
        for (const QString &line : lines) {
            ASSERT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
            ASSERT_EQ(decodeLine(encodeLine(line)), line);
        }
    }
}
