#pragma once

// The twirl rotary knob: a round face with an indicator, optional ticks, a
// raised look, a caption and an outer fine-adjust ring. Its angle is
// Position, the number it stands for is Value (Min..Max).

#include "TwirlMath.h"
#include "twirl_global.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QDialog;
class QPainter;
class QRegion;
class QTimer;

namespace twirl {
class PropExchange;
}

class TWIRL_EXPORT CTwirlCtrl : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ProgID", "twirl.TwirlCtrl.1")
    Q_CLASSINFO("TypeName", "Twirl Control")

    // 16-bit properties are int in the meta-object so that form editors can
    // edit them; the C++ accessors keep the 16-bit width.
    //
    // Limits first, then Value, then Position: a form editor saves, and uic
    // replays, the changed properties in this order, and each setter works
    // against what is already set. Position last, because a Value set moves
    // it while a Position set keeps a Value that its angle still stands for.
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Value READ Value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(int Position READ Position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(IndicatorStyles IndicatorStyle READ IndicatorStyle WRITE setIndicatorStyle
               NOTIFY IndicatorStyleChanged)
    Q_PROPERTY(int IndicatorLineWidth READ IndicatorLineWidth WRITE setIndicatorLineWidth)
    Q_PROPERTY(bool Wrap READ Wrap WRITE setWrap)
    Q_PROPERTY(QColor KnobColor READ KnobColor WRITE setKnobColor)
    Q_PROPERTY(QColor IndicatorColor READ IndicatorColor WRITE setIndicatorColor)
    Q_PROPERTY(int Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(QColor RimColor READ RimColor WRITE setRimColor)
    Q_PROPERTY(AppearenceTypes Appearence READ Appearence WRITE setAppearence)
    Q_PROPERTY(int Appearence3DHeight READ Appearence3DHeight WRITE setAppearence3DHeight)
    Q_PROPERTY(QString Version READ Version STORED false)
    Q_PROPERTY(bool SnapToMouse READ SnapToMouse WRITE setSnapToMouse)
    Q_PROPERTY(bool AutoSpin READ AutoSpin WRITE setAutoSpin)
    Q_PROPERTY(int AutoSpinSpeed READ AutoSpinSpeed WRITE setAutoSpinSpeed)
    Q_PROPERTY(int TickLength READ TickLength WRITE setTickLength)
    Q_PROPERTY(int TickCount READ TickCount WRITE setTickCount)
    Q_PROPERTY(int TickGap READ TickGap WRITE setTickGap)
    Q_PROPERTY(int TickWidth READ TickWidth WRITE setTickWidth)
    Q_PROPERTY(QColor TickColor READ TickColor WRITE setTickColor)
    Q_PROPERTY(bool TickSnapping READ TickSnapping WRITE setTickSnapping)
    Q_PROPERTY(bool FineAdjust READ FineAdjust WRITE setFineAdjust)
    Q_PROPERTY(int FineAdjustWidth READ FineAdjustWidth WRITE setFineAdjustWidth)
    Q_PROPERTY(int FineAdjustTicks READ FineAdjustTicks WRITE setFineAdjustTicks)
    Q_PROPERTY(int FineAdjustPosition READ FineAdjustPosition WRITE setFineAdjustPosition)
    Q_PROPERTY(bool FineAdjustIndicator READ FineAdjustIndicator WRITE setFineAdjustIndicator)
    Q_PROPERTY(QColor FineAdjustColor READ FineAdjustColor WRITE setFineAdjustColor)
    Q_PROPERTY(int FineAdjustLineLength READ FineAdjustLineLength WRITE setFineAdjustLineLength)
    // Until set, these follow the widget's inherited palette and font; the
    // reset returns to following.
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor RESET resetBackColor)
    Q_PROPERTY(QFont Font READ Font WRITE setFont RESET resetFont)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor RESET resetForeColor)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool Antialiased READ Antialiased WRITE setAntialiased)

public:
    // A fixed underlying type: hosts may pass any number, and the setters
    // correct it.
    enum IndicatorStyles : int { isNone = 0, isDot = 1, isLine = 2, isPointer = 3, isHalfShaded = 4 };
    Q_ENUM(IndicatorStyles)
    enum AppearenceTypes : int { Flat = 0, _3D = 1 };
    Q_ENUM(AppearenceTypes)

    static constexpr int kVersionMajor = 1;
    static constexpr int kVersionMinor = 0;

    explicit CTwirlCtrl(QWidget *parent = nullptr);
    ~CTwirlCtrl() override;

    short Position() const { return m_position; }
    qint32 Value() const { return m_value; }
    qint32 Max() const { return m_max; }
    void setMax(qint32 v);
    qint32 Min() const { return m_min; }
    void setMin(qint32 v);
    IndicatorStyles IndicatorStyle() const { return IndicatorStyles(m_indicatorStyle); }
    void setIndicatorStyle(IndicatorStyles s);
    short IndicatorLineWidth() const { return m_indicatorLineWidth; }
    void setIndicatorLineWidth(short v);
    bool Wrap() const { return m_wrap; }
    void setWrap(bool v);
    QColor KnobColor() const { return m_knobColor; }
    void setKnobColor(const QColor &c);
    QColor IndicatorColor() const { return m_indicatorColor; }
    void setIndicatorColor(const QColor &c);
    short Orientation() const { return m_orientation; }
    void setOrientation(short v);
    QColor RimColor() const { return m_rimColor; }
    void setRimColor(const QColor &c);
    AppearenceTypes Appearence() const { return AppearenceTypes(m_appearence); }
    void setAppearence(AppearenceTypes a);
    short Appearence3DHeight() const { return m_appearence3DHeight; }
    void setAppearence3DHeight(short v);
    QString Version() const;
    bool SnapToMouse() const { return m_snapToMouse; }
    void setSnapToMouse(bool v);
    bool AutoSpin() const { return m_autoSpin; }
    void setAutoSpin(bool v);
    short AutoSpinSpeed() const { return m_autoSpinSpeed; }
    void setAutoSpinSpeed(short v);
    short TickLength() const { return m_tickLength; }
    void setTickLength(short v);
    short TickCount() const { return m_tickCount; }
    void setTickCount(short v);
    short TickGap() const { return m_tickGap; }
    void setTickGap(short v);
    short TickWidth() const { return m_tickWidth; }
    void setTickWidth(short v);
    QColor TickColor() const { return m_tickColor; }
    void setTickColor(const QColor &c);
    bool TickSnapping() const { return m_tickSnapping; }
    void setTickSnapping(bool v);
    bool FineAdjust() const { return m_fineAdjust; }
    void setFineAdjust(bool v);
    short FineAdjustWidth() const { return m_fineAdjustWidth; }
    void setFineAdjustWidth(short v);
    short FineAdjustTicks() const { return m_fineAdjustTicks; }
    void setFineAdjustTicks(short v);
    short FineAdjustPosition() const { return m_fineAdjustPosition; }
    void setFineAdjustPosition(short v);
    bool FineAdjustIndicator() const { return m_fineAdjustIndicator; }
    void setFineAdjustIndicator(bool v);
    QColor FineAdjustColor() const { return m_fineAdjustColor; }
    void setFineAdjustColor(const QColor &c);
    short FineAdjustLineLength() const { return m_fineAdjustLineLength; }
    void setFineAdjustLineLength(short v);

    // Stock properties. Font is the widget's own font. An invalid colour
    // (or a default QFont) goes back to following the surroundings.
    QColor BackColor() const;
    void setBackColor(const QColor &c);
    void resetBackColor() { setBackColor(QColor()); }
    bool isBackColorSet() const { return m_backColor.isValid(); }
    QFont Font() const { return font(); }
    void setFont(const QFont &f);
    void resetFont() { setFont(QFont()); }
    bool isFontSet() const { return testAttribute(Qt::WA_SetFont); }
    QColor ForeColor() const;
    void setForeColor(const QColor &c);
    void resetForeColor() { setForeColor(QColor()); }
    bool isForeColorSet() const { return m_foreColor.isValid(); }
    QString Text() const { return m_text; }
    void setText(const QString &t);

    // Off: the pixel geometry of the original drawing. On: every shape smooth.
    bool Antialiased() const { return m_antialiased; }
    void setAntialiased(bool on);

    // Property exchange in the persisted order; loaded values are brought
    // into the limits the setters keep.
    void DoPropExchange(twirl::PropExchange &px);
    // Back to the defaults, through the same exchange.
    void ResetState();

    bool isModified() const { return m_modified; }
    void setModified(bool m) { m_modified = m; }

    // The geometry of the last layout (recomputed on paint, resize and press).
    twirl::Layout knobLayout() const { return m_layout; }
    const std::vector<int> &tickTable() const { return m_tickTable; }
    int fineRemainder() const { return m_fineRemainder; }
    int degreesPerFineStep() const { return m_degreesPerFineStep; }
    // How often the cached background (ticks, shadow, rings) was rendered.
    int backgroundRenderCount() const { return m_backgroundRenders; }

    QDialog *createAboutDialog(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    void AboutBox();
    void setValue(int v);
    void setPosition(int p);

Q_SIGNALS:
    void PositionChanged(short delta);
    void ValueChanged(int delta);
    void LeftDblClick();
    void RightDblClick();
    void TickSnap(short Position, int Value);
    void MouseDownCoarse(short Button);
    void MouseDownFine(short Button);
    void MouseDown(short Button, short Shift, int x, int y);
    void MouseUp(short Button, short Shift, int x, int y);
    // Tells bound hosts that IndicatorStyle (number 5) changed.
    void IndicatorStyleChanged();
    // Property notifications with the new value, after the deltas above and
    // once Value and Position are both in their new state.
    void valueChanged(int value);
    void positionChanged(int position);
    // The first of the left and right buttons went down on the knob; the
    // last one came up (or the knob was disabled or hidden meanwhile).
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    // The live state of the mouse buttons, read on every spin tick.
    virtual Qt::MouseButtons asyncButtonState() const;

private:
    friend class TwirlAccessible;
    class NotifyScope;

    twirl::KnobState knobState() const;
    void redraw();
    void storeValue(qint64 v);
    void storePosition(int angle, int delta);
    void applyAngleChange(int proposed);
    void applyFineRotation(int rotation);
    void moveFineIndicator(int angle);
    void notifyAccessibleValue();
    void keepSetterLimits();

    // Drawing
    QColor shown(const QColor &c) const;
    QRegion faceDiscRegion() const;
    QRect captionRect() const;
    void drawCaption(QPainter &p);
    void refreshGeometry();
    void renderBackground();
    void drawFace(QPainter &p);
    void drawIndicator(QPainter &p, int angle);
    void drawFineIndicator(QPainter &p);
    QRect faceRect() const;
    QRect fineMarkRect(int angle) const;
    void redrawFace();
    void ensureGeometry();

    // Mouse
    void knobDrag(QPoint p);
    void fineDrag(QPoint p);
    void startSpin();
    void stopSpin();
    void spinTick();
    void fireStockMouse(QMouseEvent *event, bool down);
    void notePress(QMouseEvent *event);
    void endPress();

    short m_position = 0;
    qint32 m_value = 0;
    qint32 m_max = 10;
    qint32 m_min = 0;
    short m_indicatorStyle = isDot;
    short m_indicatorLineWidth = 2;
    bool m_wrap = true;
    QColor m_knobColor;
    QColor m_indicatorColor;
    short m_orientation = 0;
    QColor m_rimColor;
    short m_appearence = Flat;
    short m_appearence3DHeight = 3;
    bool m_snapToMouse = false;
    bool m_autoSpin = false;
    short m_autoSpinSpeed = 1;
    short m_tickLength = 8;
    short m_tickCount = 0;
    short m_tickGap = 4;
    short m_tickWidth = 1;
    QColor m_tickColor;
    bool m_tickSnapping = false;
    bool m_fineAdjust = false;
    short m_fineAdjustWidth = 15;
    // What the host asked for; the ring takes as much of it as the size allows.
    short m_fineAdjustWidthRequested = 15;
    short m_fineAdjustTicks = 10;
    short m_fineAdjustPosition = 0;
    bool m_fineAdjustIndicator = true;
    QColor m_fineAdjustColor;
    short m_fineAdjustLineLength = 2;
    QColor m_backColor;   // invalid: follow the palette
    QColor m_foreColor;   // invalid: follow the palette
    QString m_text;
    bool m_antialiased = false;

    bool m_modified = false;
    short m_pendingDelta = 0;
    bool m_pressInFineRing = false;
    short m_lastMouseAngle = 0;
    short m_fineRemainder = 0;
    short m_degreesPerFineStep = 36;
    short m_lastFineAngle = 0;
    twirl::Layout m_layout;
    bool m_layoutValid = false;
    std::vector<int> m_tickTable;
    QTimer *m_spinTimer = nullptr;
    QElapsedTimer m_spinClock;
    qint64 m_spinLastMs = 0;
    qint64 m_spinTimeMs = 0;      // time spun, stalls capped
    qint64 m_spinTurned = 0;      // whole degrees turned so far by this press
    bool m_pressed = false;
    int m_notifyDepth = 0;
    short m_notifyPosition = 0;
    qint32 m_notifyValue = 0;
    QPixmap m_background;
    bool m_backgroundValid = false;
    int m_backgroundRenders = 0;
    bool m_inPaint = false;
    int m_wheelAccumulator = 0;
};
