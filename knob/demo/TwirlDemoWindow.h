#pragma once

#include "CTwirlCtrl.h"

#include <QWidget>

class QLabel;
class QLCDNumber;
class QPlainTextEdit;

// A host for a set of knobs that shows their state and every signal they
// send, with a gallery of the indicator styles.
class TwirlDemoWindow : public QWidget
{
    Q_OBJECT

public:
    // The knobs whose signals the log shows, in the order of knob(i).
    enum Knob { Defaults, Ticks, FineRing, Smooth, AutoSpin, Disabled, KnobCount };

    explicit TwirlDemoWindow(QWidget *parent = nullptr);

    CTwirlCtrl *knob(int i) const { return m_knobs[i]; }
    // The gallery's knob for one indicator style.
    CTwirlCtrl *styleKnob(CTwirlCtrl::IndicatorStyles s) const { return m_styles[int(s)]; }
    QLCDNumber *lcd() const { return m_lcd; }
    QPlainTextEdit *log() const { return m_log; }

private:
    void setUpKnobs();
    QWidget *makeColumn(int i, const QString &title, const QString &hint, QWidget *extra = nullptr);
    QWidget *makeGallery();
    void watch(int i);
    void showState(int i);
    void note(int i, const QString &text);

    CTwirlCtrl *m_knobs[KnobCount] = {};
    QLabel *m_state[KnobCount] = {};
    CTwirlCtrl *m_styles[5] = {};
    QLCDNumber *m_lcd = nullptr;
    QPlainTextEdit *m_log = nullptr;
};
