#include "knob/CTwirlCtrl.h"
#include "knob/TwirlDispIds.h"
#include "knob/TwirlPropExchange.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>
#include <QMetaProperty>
#include <QRandomGenerator>

using namespace twirl;

namespace {

void setNonDefaults(CTwirlCtrl &k)
{
    k.setKnobColor(QColor(10, 20, 30));
    k.setIndicatorColor(QColor(200, 100, 50));
    k.setRimColor(QColor(1, 2, 3));
    k.setMin(-50);
    k.setMax(500);
    k.setValue(123);
    k.setWrap(false);
    k.setIndicatorStyle(CTwirlCtrl::isPointer);
    k.setIndicatorLineWidth(4);
    k.setOrientation(30);
    k.setSnapToMouse(true);
    k.setAppearence(CTwirlCtrl::_3D);
    k.setAppearence3DHeight(5);
    k.setAutoSpin(true);
    k.setAutoSpinSpeed(7);
    k.setTickCount(9);
    k.setTickLength(6);
    k.setTickGap(2);
    k.setTickWidth(3);
    k.setTickColor(QColor(9, 9, 90));
    k.setTickSnapping(true);
    k.setFineAdjust(true);
    k.setFineAdjustWidth(12);
    k.setFineAdjustTicks(20);
    k.setFineAdjustPosition(77);
    k.setFineAdjustIndicator(false);
    k.setFineAdjustColor(QColor(7, 70, 170));
    k.setFineAdjustLineLength(5);
    k.setBackColor(QColor(250, 240, 230));
    k.setForeColor(QColor(0, 0, 128));
    k.setText(QStringLiteral("Trim"));
    QFont f(QStringLiteral("Serif"), 13);
    f.setItalic(true);
    k.setFont(f);
    k.setAntialiased(true);
}

// Every stored property of b equals that of a.
void expectSameProperties(const CTwirlCtrl &a, const CTwirlCtrl &b)
{
    const QMetaObject *mo = a.metaObject();
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        EXPECT_EQ(p.read(&a), p.read(&b)) << p.name();
    }
}

// Entries under the knob's own names (and a few others) with values of any type.
QVariantMap randomBag(QRandomGenerator &rng)
{
    QVariantMap bag;
    for (int i = int(rng.bounded(40)); i > 0; --i) {
        QByteArray name = propertyName(int(rng.bounded(-520, 31)));
        if (name.isEmpty())
            name = rng.bounded(2) ? "_Version" : "Junk";
        QVariant v;
        switch (rng.bounded(6)) {
        case 0: v = qint32(rng.generate()); break;
        case 1: v = bool(rng.bounded(2)); break;
        case 2: v = QString::number(rng.generate(), 36); break;
        case 3: v = QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)); break;
        case 4: v = double(qint32(rng.generate())) * 1e3; break;
        default: break;
        }
        bag[QString::fromLatin1(name)] = v;
    }
    return bag;
}

QByteArray streamOf(CTwirlCtrl &k)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    saveToStream(k, out);
    return bytes;
}

} // namespace

TEST(TwirlPersist, OleColoursHaveRedInTheLowByte)
{
    EXPECT_EQ(toOleColor(QColor(255, 0, 0)), 255u);
    EXPECT_EQ(toOleColor(QColor(0, 0, 255)), 0xff0000u);
    EXPECT_EQ(fromOleColor(65280), QColor(0, 255, 0));
    EXPECT_EQ(fromOleColor(65535), QColor(255, 255, 0));
    EXPECT_TRUE(fromOleColor(0x80000005u).isValid());
}

TEST(TwirlPersist, BagRoundTripKeepsEveryProperty)
{
    CTwirlCtrl a;
    setNonDefaults(a);
    const QVariantMap bag = saveToBag(a);
    EXPECT_EQ(bag.value("_Version").toUInt(), 0x10000u);
    EXPECT_FALSE(bag.contains("Version"));
    EXPECT_EQ(bag.size(), 1 + 4 + 29 + 1);   // version, stock, named, Antialiased
    CTwirlCtrl b;
    EXPECT_TRUE(loadFromBag(b, bag));
    expectSameProperties(a, b);
}

TEST(TwirlPersist, StreamRoundTripKeepsEveryProperty)
{
    CTwirlCtrl a;
    setNonDefaults(a);
    QByteArray bytes = streamOf(a);
    CTwirlCtrl b;
    QDataStream in(&bytes, QIODevice::ReadOnly);
    EXPECT_TRUE(loadFromStream(b, in));
    EXPECT_TRUE(in.atEnd());
    expectSameProperties(a, b);
}

TEST(TwirlPersist, StreamHoldsVersionThenStockThenNamedProperties)
{
    CTwirlCtrl k;
    k.setText(QStringLiteral("T"));
    k.setPosition(200);
    k.setForeColor(Qt::blue);
    QByteArray bytes = streamOf(k);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    quint32 version = 0, back = 0, fore = 0, knob = 0, indicator = 0, rim = 0;
    QString font;
    QString text;
    qint16 position = 0;
    qint32 max = 0, min = 0, value = 0;
    bool wrap = false;
    in >> version >> back >> font >> fore >> text >> knob >> indicator >> rim >> position >> max
        >> min >> value >> wrap;
    ASSERT_EQ(in.status(), QDataStream::Ok);
    EXPECT_EQ(version, 0x10000u);
    EXPECT_EQ(text, QStringLiteral("T"));
    // Unset stock properties are stored as "follow the surroundings".
    EXPECT_EQ(back, kSystemWindow);
    EXPECT_TRUE(font.isEmpty());
    EXPECT_EQ(fore, 0xff0000u);
    EXPECT_EQ(knob, 0x808080u);
    EXPECT_EQ(indicator, 0xffffffu);
    EXPECT_EQ(rim, 0u);
    EXPECT_EQ(position, 200);
    EXPECT_EQ(max, 10);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(value, 6);
    EXPECT_TRUE(wrap);
}

TEST(TwirlPersist, AStreamFromBeforeAntialiasedStillLoadsWhole)
{
    CTwirlCtrl a;
    setNonDefaults(a);
    a.setAntialiased(false);
    QByteArray bytes = streamOf(a);
    bytes.chop(1);   // the trailing Boolean
    CTwirlCtrl b;
    b.setAntialiased(true);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    EXPECT_TRUE(loadFromStream(b, in));
    expectSameProperties(a, b);
}

TEST(TwirlPersist, ValueAndFineColourDefaultToWhatWasJustRead)
{
    CTwirlCtrl k;
    QVariantMap bag;
    bag["Min"] = 5;
    bag["Max"] = 20;
    bag["KnobColor"] = QColor(Qt::red);
    EXPECT_TRUE(loadFromBag(k, bag));
    EXPECT_EQ(k.Min(), 5);
    EXPECT_EQ(k.Value(), 5);
    EXPECT_EQ(k.FineAdjustColor(), QColor(Qt::red));
    EXPECT_EQ(k.TickLength(), 8);
}

TEST(TwirlPersist, LoadedValuesAreBroughtIntoTheSettersLimits)
{
    struct Case {
        const char *name;
        int stored;
        int loaded;
    };
    const Case cases[] = {
        {"TickCount", 500, 360},          {"TickCount", -3, 0},
        {"TickLength", -31870, 1},        {"TickGap", -32116, 0},
        {"TickWidth", 0, 1},              {"Position", 1000, 280},
        {"Position", -90, 270},           {"Orientation", 400, 40},
        {"IndicatorStyle", 9, 4},         {"IndicatorStyle", -1, 0},
        {"IndicatorLineWidth", -5, 1},    {"Appearence", 7, 1},
        {"Appearence3DHeight", 0, 1},     {"FineAdjustWidth", -2, 1},
        {"FineAdjustTicks", 0, 1},        {"FineAdjustTicks", 400, 359},
        {"FineAdjustPosition", 360, 359}, {"FineAdjustLineLength", 0, 1},
        {"AutoSpinSpeed", -40, -40},      // stored as given by its setter too
    };
    for (const Case &c : cases) {
        CTwirlCtrl k;
        k.resize(80, 80);
        QVariantMap bag;
        bag[c.name] = c.stored;
        EXPECT_TRUE(loadFromBag(k, bag));
        EXPECT_EQ(k.property(c.name).toInt(), c.loaded) << c.name << " " << c.stored;
        EXPECT_FALSE(k.grab().isNull());
    }
}

TEST(TwirlPersist, LoadedLimitsKeepTheLaterAndValueFollows)
{
    CTwirlCtrl k;
    QVariantMap bag;
    bag["Max"] = 3;
    bag["Min"] = 10;
    bag["Value"] = 50;
    EXPECT_TRUE(loadFromBag(k, bag));
    EXPECT_EQ(k.Min(), 10);
    EXPECT_EQ(k.Max(), 10);
    EXPECT_EQ(k.Value(), 10);
}

namespace {

// A stream as the knob writes it, with some 16-bit entries replaced by values
// no setter would store: what a damaged or hand-made file holds.
QByteArray streamWithShorts(const QMap<QByteArray, short> &shorts)
{
    class Writer final : public PropExchange
    {
    public:
        Writer(QDataStream &out, const QMap<QByteArray, short> &shorts) : m_out(out), m_shorts(shorts) {}
        bool isLoading() const override { return false; }
        void exchangeVersion(quint32 &v, quint32) override { m_out << v; }
        void exchangeShort(const char *n, short &v, short) override { m_out << qint16(m_shorts.value(n, v)); }
        void exchangeLong(const char *, qint32 &v, qint32) override { m_out << v; }
        void exchangeBool(const char *, bool &v, bool) override { m_out << v; }
        void exchangeColor(const char *, QColor &v, const QColor &) override { m_out << toOleColor(v); }
        void exchangeString(const char *, QString &v, const QString &) override { m_out << v; }
        void exchangeFont(const char *, QFont &, const QFont &) override { m_out << QString(); }
        void exchangeStockColor(const char *, QColor &, quint32 system) override { m_out << system; }

    private:
        QDataStream &m_out;
        const QMap<QByteArray, short> &m_shorts;
    };
    CTwirlCtrl k;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    Writer w(out, shorts);
    k.DoPropExchange(w);
    return bytes;
}

} // namespace

// Both once crashed (in QRegion) or stalled the first paint for seconds.
TEST(TwirlPersist, StoredTickSizesNoSetterTakesStillPaint)
{
    const QMap<QByteArray, short> streams[] = {
        {{"TickCount", 10}, {"TickLength", -31870}, {"TickGap", -32116}},
        {{"TickCount", 32075}, {"TickLength", -32116}},
    };
    for (const auto &shorts : streams) {
        const QByteArray bytes = streamWithShorts(shorts);
        QDataStream in(bytes);
        CTwirlCtrl k;
        k.resize(80, 80);
        EXPECT_TRUE(loadFromStream(k, in));
        EXPECT_LE(k.TickCount(), 360);
        EXPECT_GE(k.TickLength(), 1);
        EXPECT_GE(k.TickGap(), 0);
        EXPECT_FALSE(k.grab().isNull());
    }
}

TEST(TwirlPersist, UnreadableEntriesTakeTheirDefaults)
{
    CTwirlCtrl k;
    QVariantMap bag;
    bag["Position"] = QStringLiteral("north");
    bag["Max"] = 99999999999LL;
    bag["KnobColor"] = QStringLiteral("not a colour");
    bag["Wrap"] = QStringLiteral("maybe");
    bag["Text"] = QStringLiteral("ok");
    bag["TickColor"] = 255;   // an OLE colour number
    EXPECT_FALSE(loadFromBag(k, bag));
    EXPECT_EQ(k.Position(), 0);
    EXPECT_EQ(k.Max(), 10);
    EXPECT_EQ(k.KnobColor(), QColor(128, 128, 128));
    EXPECT_TRUE(k.Wrap());
    EXPECT_EQ(k.Text(), QStringLiteral("ok"));
    EXPECT_EQ(k.TickColor(), QColor(255, 0, 0));
}

TEST(TwirlPersist, ShortStreamLeavesTheRestAtDefaults)
{
    CTwirlCtrl a;
    setNonDefaults(a);
    QByteArray bytes = streamOf(a);
    bytes.chop(bytes.size() / 3);
    CTwirlCtrl b;
    QDataStream in(&bytes, QIODevice::ReadOnly);
    EXPECT_FALSE(loadFromStream(b, in));
    EXPECT_EQ(b.KnobColor(), QColor(10, 20, 30));   // early: read
    EXPECT_EQ(b.FineAdjustLineLength(), 2);          // late: default
}

TEST(TwirlPersist, ResetStateRestoresTheDefaults)
{
    CTwirlCtrl fresh;
    CTwirlCtrl k;
    setNonDefaults(k);
    k.ResetState();
    expectSameProperties(fresh, k);
}

TEST(TwirlPersist, GarbageNeverCrashesTheLoaders)
{
    auto *rng = QRandomGenerator::global();
    CTwirlCtrl k;
    k.resize(60, 60);
    const QByteArray good = streamOf(k);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        if (round % 2) {
            bytes.resize(int(rng->bounded(200)));
            for (char &c : bytes)
                c = char(rng->bounded(256));
        } else {
            bytes = good;
            for (int flips = 0; flips < 6; ++flips)
                bytes[int(rng->bounded(bytes.size()))] = char(rng->bounded(256));
        }
        QDataStream in(&bytes, QIODevice::ReadOnly);
        loadFromStream(k, in);
        loadFromBag(k, randomBag(*rng));
        if (round % 25 == 0)
            k.grab();
    }
    SUCCEED();
}
