#include "CTwirlCtrl.h"

#include "TwirlAccessible.h"
#include "TwirlIcon.h"
#include "TwirlNotifyScope.h"
#include "TwirlPropExchange.h"

#include <QAccessible>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace twirl;

namespace {

// The limits the setters keep, shared with loading.
short atLeastOne(short v) { return std::max<short>(1, v); }
short tickCountLimit(short v) { return v < 1 ? 0 : std::min<short>(360, v); }
short fineTicksLimit(short v) { return v < 1 ? 1 : (v >= 360 ? 359 : v); }
short fineAngleLimit(short v) { return v < 0 ? 0 : (v >= 360 ? 359 : v); }

} // namespace

CTwirlCtrl::CTwirlCtrl(QWidget *parent)
    : QWidget(parent)
    , m_spinTimer(new QTimer(this))
{
    installTwirlAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted from the cached background, so Qt need not clear.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_spinTimer, &QTimer::timeout, this, &CTwirlCtrl::spinTick);
    ResetState();
    m_modified = false;
}

CTwirlCtrl::~CTwirlCtrl() = default;

KnobState CTwirlCtrl::knobState() const
{
    return KnobState{m_position, m_value, m_min, m_max, m_wrap};
}

void CTwirlCtrl::redraw()
{
    m_modified = true;
    // Any look property may move the rings; a press right after the change
    // must be hit-tested on the new geometry, not the last painted one.
    m_layoutValid = false;
    m_backgroundValid = false;
    update();
}

// ---- value and position -------------------------------------------------

void CTwirlCtrl::storeValue(qint64 v)
{
    NotifyScope scope(*this);
    if (v > m_max)
        v = m_max;
    if (v < m_min)
        v = m_min;
    if (v == m_value)
        return;
    const qint32 old = m_value;
    m_value = qint32(v);
    notifyAccessibleValue();
    emit ValueChanged(int(qint64(m_value) - old));
}

void CTwirlCtrl::storePosition(int angle, int delta)
{
    NotifyScope scope(*this);
    m_position = short(angle);
    m_pendingDelta = short(delta);
    // The face is drawn before the host hears of the turn, so a host that
    // reads the screen in its handler sees the new angle.
    redrawFace();
    notifyAccessibleValue();
    emit PositionChanged(short(delta));
}

void CTwirlCtrl::setValue(int v)
{
    NotifyScope scope(*this);
    m_modified = true;
    qint64 clamped = v;
    if (clamped > m_max)
        clamped = m_max;
    if (clamped < m_min)
        clamped = m_min;
    const int angle = angleForValue(qint32(clamped), m_min, m_max);
    const int delta = shortestTurn(m_position, angle);
    storeValue(clamped);
    if (angle != m_position)
        storePosition(angle, delta);
}

void CTwirlCtrl::setPosition(int p)
{
    NotifyScope scope(*this);
    m_modified = true;
    const int angle = normalise(p);
    if (angle == m_position)
        return;
    const int delta = shortestTurn(m_position, angle);
    const qint64 v = valueForAngle(angle, m_min, m_max);
    storePosition(angle, delta);
    if (v != m_value)
        storeValue(v);
}

void CTwirlCtrl::applyAngleChange(int proposed)
{
    NotifyScope scope(*this);
    const AngleChange r = angleChangeToValue(knobState(), proposed);
    if (r.angle != m_position)
        storePosition(r.angle, r.delta);
    if (r.value != m_value)
        storeValue(r.value);
}

void CTwirlCtrl::applyFineRotation(int rotation)
{
    NotifyScope scope(*this);
    const FineStep s = fineValueStep(knobState(), rotation, m_fineRemainder, m_degreesPerFineStep);
    m_fineRemainder = short(s.remainder);
    if (s.value != m_value)
        setValue(qint32(s.value));
}

// The other limit makes way, as a slider's does: limits then take any order,
// and a form that sets Min before Max (or the other way) keeps both.
void CTwirlCtrl::setMax(qint32 v)
{
    NotifyScope scope(*this);
    m_modified = true;
    m_max = v;
    if (m_min > m_max)
        m_min = m_max;
    setValue(std::min(m_max, m_value));
}

void CTwirlCtrl::setMin(qint32 v)
{
    NotifyScope scope(*this);
    m_modified = true;
    m_min = v;
    if (m_max < m_min)
        m_max = m_min;
    setValue(std::max(m_value, m_min));
}

// A stored knob may hold what no setter would take (a hand-made or damaged
// file); drawn as read, a negative tick length or thousands of ticks crash or
// stall the paint. Where the two limits disagree the later one read wins, as
// setting them in the stored order would.
void CTwirlCtrl::keepSetterLimits()
{
    m_position = short(normalise(m_position));
    if (m_max < m_min)
        m_max = m_min;
    m_value = std::clamp(m_value, m_min, m_max);
    m_indicatorStyle = short(std::clamp(int(m_indicatorStyle), int(isNone), int(isHalfShaded)));
    m_indicatorLineWidth = atLeastOne(m_indicatorLineWidth);
    m_orientation = short(normalise(m_orientation));
    m_appearence = short(std::clamp(int(m_appearence), int(Flat), int(_3D)));
    m_appearence3DHeight = atLeastOne(m_appearence3DHeight);
    m_tickLength = atLeastOne(m_tickLength);
    m_tickCount = tickCountLimit(m_tickCount);
    m_tickGap = std::max<short>(0, m_tickGap);
    m_tickWidth = atLeastOne(m_tickWidth);
    m_fineAdjustWidth = atLeastOne(m_fineAdjustWidth);
    m_fineAdjustTicks = fineTicksLimit(m_fineAdjustTicks);
    m_fineAdjustPosition = fineAngleLimit(m_fineAdjustPosition);
    m_fineAdjustLineLength = atLeastOne(m_fineAdjustLineLength);
}

// ---- plain properties ---------------------------------------------------

void CTwirlCtrl::setIndicatorStyle(IndicatorStyles s)
{
    m_indicatorStyle = short(std::clamp(int(s), int(isNone), int(isHalfShaded)));
    emit IndicatorStyleChanged();
    redraw();
}

void CTwirlCtrl::setIndicatorLineWidth(short v)
{
    m_indicatorLineWidth = atLeastOne(v);
    redraw();
}

void CTwirlCtrl::setWrap(bool v)
{
    m_wrap = v;
    m_modified = true;
}

void CTwirlCtrl::setKnobColor(const QColor &c)
{
    m_knobColor = c;
    redraw();
}

void CTwirlCtrl::setIndicatorColor(const QColor &c)
{
    m_indicatorColor = c;
    redraw();
}

void CTwirlCtrl::setOrientation(short v)
{
    m_orientation = short(normalise(v));
    redraw();
}

void CTwirlCtrl::setRimColor(const QColor &c)
{
    m_rimColor = c;
    redraw();
}

void CTwirlCtrl::setAppearence(AppearenceTypes a)
{
    m_appearence = short(std::clamp(int(a), int(Flat), int(_3D)));
    redraw();
}

void CTwirlCtrl::setAppearence3DHeight(short v)
{
    m_appearence3DHeight = atLeastOne(v);
    redraw();
}

QString CTwirlCtrl::Version() const
{
    return QString::number(kVersionMajor) + QLatin1Char('.') + QString::number(kVersionMinor);
}

void CTwirlCtrl::setSnapToMouse(bool v)
{
    m_snapToMouse = v;
    m_modified = true;
}

void CTwirlCtrl::setAutoSpin(bool v)
{
    m_autoSpin = v;
    m_modified = true;
}

void CTwirlCtrl::setAutoSpinSpeed(short v)
{
    m_autoSpinSpeed = v;
    m_modified = true;
}

void CTwirlCtrl::setTickLength(short v)
{
    m_tickLength = atLeastOne(v);
    redraw();
}

void CTwirlCtrl::setTickCount(short v)
{
    m_tickCount = tickCountLimit(v);
    redraw();
}

void CTwirlCtrl::setTickGap(short v)
{
    m_tickGap = std::max<short>(0, v);
    redraw();
}

void CTwirlCtrl::setTickWidth(short v)
{
    m_tickWidth = atLeastOne(v);
    redraw();
}

void CTwirlCtrl::setTickColor(const QColor &c)
{
    m_tickColor = c;
    redraw();
}

void CTwirlCtrl::setTickSnapping(bool v)
{
    m_tickSnapping = v;
    m_modified = true;
    // The indicator moves to or off the nearest tick.
    update();
}

void CTwirlCtrl::setFineAdjust(bool v)
{
    m_fineAdjust = v;
    redraw();
}

void CTwirlCtrl::setFineAdjustWidth(short v)
{
    m_fineAdjustWidthRequested = atLeastOne(v);
    // A widget that has not been given a size yet (a form being built, a
    // layout not yet run) has no client area to limit against; the next
    // paint limits it then.
    const bool sized = testAttribute(Qt::WA_Resized) || isVisible();
    m_fineAdjustWidth = sized ? short(limitFineAdjustWidth(v, width(), height()))
                              : m_fineAdjustWidthRequested;
    m_degreesPerFineStep = short(twirl::degreesPerFineStep(m_fineAdjustTicks));
    redraw();
}

void CTwirlCtrl::setFineAdjustTicks(short v)
{
    m_fineAdjustTicks = fineTicksLimit(v);
    m_degreesPerFineStep = short(twirl::degreesPerFineStep(m_fineAdjustTicks));
    m_modified = true;
}

void CTwirlCtrl::setFineAdjustPosition(short v)
{
    m_modified = true;
    m_fineRemainder = 0;
    moveFineIndicator(fineAngleLimit(v));
}

void CTwirlCtrl::setFineAdjustIndicator(bool v)
{
    m_fineAdjustIndicator = v;
    redraw();
}

void CTwirlCtrl::setFineAdjustColor(const QColor &c)
{
    m_fineAdjustColor = c;
    redraw();
}

void CTwirlCtrl::setFineAdjustLineLength(short v)
{
    m_fineAdjustLineLength = atLeastOne(v);
    redraw();
}

QColor CTwirlCtrl::BackColor() const
{
    return m_backColor.isValid() ? m_backColor : palette().color(QPalette::Window);
}

void CTwirlCtrl::setBackColor(const QColor &c)
{
    m_backColor = c;
    redraw();
}

QColor CTwirlCtrl::ForeColor() const
{
    return m_foreColor.isValid() ? m_foreColor : palette().color(QPalette::WindowText);
}

void CTwirlCtrl::setFont(const QFont &f)
{
    QWidget::setFont(f);
    redraw();
}

void CTwirlCtrl::setForeColor(const QColor &c)
{
    m_foreColor = c;
    redraw();
}

void CTwirlCtrl::setAntialiased(bool on)
{
    m_antialiased = on;
    redraw();
}

void CTwirlCtrl::setText(const QString &t)
{
    m_text = t;
    if (QAccessible::isActive()) {
        QAccessibleEvent e(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
    redraw();
}

void CTwirlCtrl::notifyAccessibleValue()
{
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent e(this, m_value);
        QAccessible::updateAccessibility(&e);
    }
}

// ---- about box ----------------------------------------------------------

QDialog *CTwirlCtrl::createAboutDialog(QWidget *parent)
{
    auto *dlg = new QDialog(parent);
    dlg->setObjectName(QStringLiteral("dlgAbout"));
    dlg->setWindowTitle(QStringLiteral("About Twirl Control"));
    auto *icon = new QLabel(dlg);
    icon->setObjectName(QStringLiteral("lblIcon"));
    icon->setPixmap(twirlIcon().pixmap(32, 32));
    auto *text = new QLabel(QStringLiteral("Twirl Control"), dlg);
    text->setObjectName(QStringLiteral("lblName"));
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    auto *version = new QLabel(QStringLiteral("Version %1").arg(Version()), dlg);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto *ok = new QPushButton(QStringLiteral("OK"), dlg);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
    auto *texts = new QVBoxLayout;
    texts->addWidget(text);
    texts->addWidget(version);
    texts->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(texts, 1);
    row->addSpacing(12);
    row->addWidget(ok, 0, Qt::AlignTop);
    auto *outer = new QVBoxLayout(dlg);
    outer->addLayout(row);
    // Sized to its texts whatever the font, and never narrower than its
    // title, which a window manager would otherwise cut short.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addStrut(dlg->fontMetrics().horizontalAdvance(dlg->windowTitle()) + 120);
    return dlg;
}

void CTwirlCtrl::AboutBox()
{
    QDialog *dlg = createAboutDialog(this);
    dlg->exec();
    delete dlg;
}

QSize CTwirlCtrl::sizeHint() const
{
    return QSize(100, 100);
}

QSize CTwirlCtrl::minimumSizeHint() const
{
    return QSize(24, 24);
}
