#include "TwirlPropExchange.h"

#include "CTwirlCtrl.h"
#include "TwirlNotifyScope.h"

#include <QApplication>
#include <QDataStream>
#include <QPalette>

namespace twirl {

PropExchange::~PropExchange() = default;

quint32 toOleColor(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

QColor fromOleColor(quint32 v)
{
    if (v & 0x80000000u) {
        // System colour index: the few that a knob would use, else the window colour.
        const QPalette pal = QApplication::palette();
        switch (v & 0xffu) {
        case 5: return pal.color(QPalette::Base);
        case 8: return pal.color(QPalette::Text);
        case 15: return pal.color(QPalette::Button);
        case 18: return pal.color(QPalette::ButtonText);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(v & 0xffu), int((v >> 8) & 0xffu), int((v >> 16) & 0xffu));
}

namespace {

constexpr quint32 kVersion = (quint32(CTwirlCtrl::kVersionMajor) << 16) | CTwirlCtrl::kVersionMinor;
const char kVersionKey[] = "_Version";

class BagSaver final : public PropExchange
{
public:
    explicit BagSaver(QVariantMap &bag) : m_bag(bag) {}
    bool isLoading() const override { return false; }
    void exchangeVersion(quint32 &v, quint32) override { m_bag[kVersionKey] = v; }
    void exchangeShort(const char *n, short &v, short) override { m_bag[n] = int(v); }
    void exchangeLong(const char *n, qint32 &v, qint32) override { m_bag[n] = v; }
    void exchangeBool(const char *n, bool &v, bool) override { m_bag[n] = v; }
    void exchangeColor(const char *n, QColor &v, const QColor &) override { m_bag[n] = v; }
    void exchangeString(const char *n, QString &v, const QString &) override { m_bag[n] = v; }
    // What follows the surroundings was not set, so it is not stored.
    void exchangeFont(const char *n, QFont &v, const QFont &) override
    {
        if (v.resolveMask() != 0)
            m_bag[n] = v;
    }
    void exchangeStockColor(const char *n, QColor &v, quint32) override
    {
        if (v.isValid())
            m_bag[n] = v;
    }

private:
    QVariantMap &m_bag;
};

class BagLoader final : public PropExchange
{
public:
    explicit BagLoader(const QVariantMap &bag) : m_bag(bag) {}
    bool isLoading() const override { return true; }
    bool ok() const { return m_ok; }

    void exchangeVersion(quint32 &v, quint32 def) override
    {
        v = integer(kVersionKey, def, 0, 0xffffffffLL);
    }
    void exchangeShort(const char *n, short &v, short def) override
    {
        v = short(integer(n, def, -32768, 32767));
    }
    void exchangeLong(const char *n, qint32 &v, qint32 def) override
    {
        v = qint32(integer(n, def, INT32_MIN, INT32_MAX));
    }
    void exchangeBool(const char *n, bool &v, bool def) override
    {
        const QVariant x = m_bag.value(n);
        if (x.typeId() == QMetaType::Bool || x.canConvert<int>()) {
            bool good = true;
            if (x.typeId() == QMetaType::Bool) {
                v = x.toBool();
            } else {
                const int i = x.toInt(&good);
                v = i != 0;
            }
            if (good)
                return;
        }
        miss(x);
        v = def;
    }
    void exchangeColor(const char *n, QColor &v, const QColor &def) override
    {
        const QVariant x = m_bag.value(n);
        if (x.typeId() == QMetaType::QColor) {
            v = x.value<QColor>();
            if (v.isValid())
                return;
        } else if (x.typeId() == QMetaType::QString) {
            v = QColor::fromString(x.toString());
            if (v.isValid())
                return;
        } else if (x.isValid()) {
            bool good = false;
            const qlonglong ole = x.toLongLong(&good);
            if (good && ole >= 0 && ole <= 0xffffffffLL) {
                v = fromOleColor(quint32(ole));
                return;
            }
        }
        miss(x);
        v = def;
    }
    void exchangeStockColor(const char *n, QColor &v, quint32 systemColour) override
    {
        const QVariant x = m_bag.value(n);
        bool number = false;
        const qlonglong ole = x.toLongLong(&number);
        if (!x.isValid() || (number && x.typeId() != QMetaType::QColor && ole == systemColour)) {
            v = QColor();
            return;
        }
        exchangeColor(n, v, QColor());
    }
    void exchangeString(const char *n, QString &v, const QString &def) override
    {
        const QVariant x = m_bag.value(n);
        if (x.canConvert<QString>() && x.isValid()) {
            v = x.toString();
            return;
        }
        miss(x);
        v = def;
    }
    void exchangeFont(const char *n, QFont &v, const QFont &def) override
    {
        const QVariant x = m_bag.value(n);
        if (x.typeId() == QMetaType::QFont) {
            v = x.value<QFont>();
            return;
        }
        if (x.typeId() == QMetaType::QString && v.fromString(x.toString()))
            return;
        miss(x);
        v = def;
    }

private:
    qint64 integer(const char *n, qint64 def, qint64 lo, qint64 hi)
    {
        const QVariant x = m_bag.value(n);
        bool good = false;
        const qlonglong i = x.toLongLong(&good);
        if (good && i >= lo && i <= hi)
            return i;
        miss(x);
        return def;
    }
    // An absent key is an ordinary default; a present but unreadable one is not.
    void miss(const QVariant &x)
    {
        if (x.isValid())
            m_ok = false;
    }

    const QVariantMap &m_bag;
    bool m_ok = true;
};

class StreamSaver final : public PropExchange
{
public:
    explicit StreamSaver(QDataStream &out) : m_out(out) {}
    bool isLoading() const override { return false; }
    void exchangeVersion(quint32 &v, quint32) override { m_out << v; }
    void exchangeShort(const char *, short &v, short) override { m_out << qint16(v); }
    void exchangeLong(const char *, qint32 &v, qint32) override { m_out << v; }
    void exchangeBool(const char *, bool &v, bool) override { m_out << v; }
    void exchangeColor(const char *, QColor &v, const QColor &) override { m_out << toOleColor(v); }
    void exchangeString(const char *, QString &v, const QString &) override { m_out << v; }
    // As text: Qt's own font stream format trusts the list sizes it reads.
    // An inherited font is an empty text.
    void exchangeFont(const char *, QFont &v, const QFont &) override
    {
        m_out << (v.resolveMask() != 0 ? v.toString() : QString());
    }
    void exchangeStockColor(const char *, QColor &v, quint32 systemColour) override
    {
        m_out << (v.isValid() ? toOleColor(v) : systemColour);
    }

private:
    QDataStream &m_out;
};

class StreamLoader final : public PropExchange
{
public:
    explicit StreamLoader(QDataStream &in) : m_in(in) {}
    bool isLoading() const override { return true; }
    bool ok() const { return m_in.status() == QDataStream::Ok; }

    void exchangeVersion(quint32 &v, quint32 def) override { read(v, def); }
    void exchangeShort(const char *, short &v, short def) override
    {
        qint16 x = 0;
        read(x, qint16(def));
        v = x;
    }
    void exchangeLong(const char *, qint32 &v, qint32 def) override { read(v, def); }
    void exchangeBool(const char *, bool &v, bool def) override { read(v, def); }
    void exchangeColor(const char *, QColor &v, const QColor &def) override
    {
        quint32 x = 0;
        read(x, toOleColor(def));
        v = ok() ? fromOleColor(x) : def;
    }
    void exchangeString(const char *, QString &v, const QString &def) override { read(v, def); }
    void exchangeFont(const char *, QFont &v, const QFont &def) override
    {
        QString text;
        read(text, QString());
        QFont f;
        v = ok() && !text.isEmpty() && f.fromString(text) ? f : def;
    }
    void exchangeStockColor(const char *, QColor &v, quint32 systemColour) override
    {
        quint32 x = 0;
        read(x, systemColour);
        v = !ok() || x == systemColour ? QColor() : fromOleColor(x);
    }
    void exchangeAddedBool(const char *n, bool &v, bool def) override
    {
        if (ok() && m_in.atEnd())
            v = def;
        else
            exchangeBool(n, v, def);
    }

private:
    template <typename T, typename D>
    void read(T &v, const D &def)
    {
        if (ok()) {
            T x{};
            m_in >> x;
            if (ok()) {
                v = x;
                return;
            }
        }
        v = def;
    }

    QDataStream &m_in;
};

class DefaultsLoader final : public PropExchange
{
public:
    bool isLoading() const override { return true; }
    void exchangeVersion(quint32 &v, quint32 def) override { v = def; }
    void exchangeShort(const char *, short &v, short def) override { v = def; }
    void exchangeLong(const char *, qint32 &v, qint32 def) override { v = def; }
    void exchangeBool(const char *, bool &v, bool def) override { v = def; }
    void exchangeColor(const char *, QColor &v, const QColor &def) override { v = def; }
    void exchangeString(const char *, QString &v, const QString &def) override { v = def; }
    void exchangeFont(const char *, QFont &v, const QFont &def) override { v = def; }
    void exchangeStockColor(const char *, QColor &v, quint32) override { v = QColor(); }
};

} // namespace

QVariantMap saveToBag(CTwirlCtrl &ctrl)
{
    QVariantMap bag;
    BagSaver px(bag);
    ctrl.DoPropExchange(px);
    return bag;
}

bool loadFromBag(CTwirlCtrl &ctrl, const QVariantMap &bag)
{
    BagLoader px(bag);
    ctrl.DoPropExchange(px);
    return px.ok();
}

void saveToStream(CTwirlCtrl &ctrl, QDataStream &out)
{
    StreamSaver px(out);
    ctrl.DoPropExchange(px);
}

bool loadFromStream(CTwirlCtrl &ctrl, QDataStream &in)
{
    StreamLoader px(in);
    ctrl.DoPropExchange(px);
    return px.ok();
}

} // namespace twirl

using namespace twirl;

void CTwirlCtrl::DoPropExchange(PropExchange &px)
{
    NotifyScope scope(*this);
    quint32 version = kVersion;
    px.exchangeVersion(version, kVersion);

    // Stock properties: unset, they follow the surroundings, and stay so.
    px.exchangeStockColor("BackColor", m_backColor, kSystemWindow);
    QFont f = isFontSet() ? font() : QFont();
    px.exchangeFont("Font", f, QFont());
    px.exchangeStockColor("ForeColor", m_foreColor, kSystemWindowText);
    px.exchangeString("Text", m_text, QString());

    px.exchangeColor("KnobColor", m_knobColor, QColor(128, 128, 128));
    px.exchangeColor("IndicatorColor", m_indicatorColor, QColor(255, 255, 255));
    px.exchangeColor("RimColor", m_rimColor, QColor(0, 0, 0));
    px.exchangeShort("Position", m_position, 0);
    px.exchangeLong("Max", m_max, 10);
    px.exchangeLong("Min", m_min, 0);
    px.exchangeLong("Value", m_value, m_min);
    px.exchangeBool("Wrap", m_wrap, true);
    px.exchangeShort("IndicatorStyle", m_indicatorStyle, isDot);
    px.exchangeShort("IndicatorLineWidth", m_indicatorLineWidth, 2);
    px.exchangeShort("Orientation", m_orientation, 0);
    px.exchangeBool("SnapToMouse", m_snapToMouse, false);
    px.exchangeShort("Appearence", m_appearence, Flat);
    px.exchangeShort("Appearence3DHeight", m_appearence3DHeight, 3);
    px.exchangeBool("AutoSpin", m_autoSpin, false);
    px.exchangeShort("AutoSpinSpeed", m_autoSpinSpeed, 1);
    px.exchangeShort("TickCount", m_tickCount, 0);
    px.exchangeShort("TickLength", m_tickLength, 8);
    px.exchangeShort("TickGap", m_tickGap, 4);
    px.exchangeShort("TickWidth", m_tickWidth, 1);
    px.exchangeColor("TickColor", m_tickColor, QColor(0, 0, 0));
    px.exchangeBool("TickSnapping", m_tickSnapping, false);
    px.exchangeBool("FineAdjust", m_fineAdjust, false);
    px.exchangeShort("FineAdjustWidth", m_fineAdjustWidth, 15);
    px.exchangeShort("FineAdjustTicks", m_fineAdjustTicks, 10);
    px.exchangeShort("FineAdjustPosition", m_fineAdjustPosition, 0);
    px.exchangeBool("FineAdjustIndicator", m_fineAdjustIndicator, true);
    px.exchangeColor("FineAdjustColor", m_fineAdjustColor, m_knobColor);
    px.exchangeShort("FineAdjustLineLength", m_fineAdjustLineLength, 2);
    px.exchangeAddedBool("Antialiased", m_antialiased, false);

    if (px.isLoading()) {
        keepSetterLimits();
        QWidget::setFont(f);
        m_degreesPerFineStep = short(twirl::degreesPerFineStep(m_fineAdjustTicks));
        m_fineAdjustWidthRequested = m_fineAdjustWidth;
        m_lastFineAngle = m_fineAdjustPosition;
        m_layoutValid = false;
        m_backgroundValid = false;
        notifyAccessibleValue();
        update();
    }
}

void CTwirlCtrl::ResetState()
{
    DefaultsLoader px;
    DoPropExchange(px);
}
