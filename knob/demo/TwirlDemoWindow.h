#pragma once

#include <QWidget>

class CTwirlCtrl;
class QLabel;
class QPlainTextEdit;

// A host for three knobs that shows their state and every signal they send.
class TwirlDemoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TwirlDemoWindow(QWidget *parent = nullptr);

    CTwirlCtrl *knob(int i) const { return m_knobs[i]; }
    QPlainTextEdit *log() const { return m_log; }

private:
    QWidget *makeColumn(int i, const QString &title);
    void watch(int i);
    void showState(int i);
    void note(int i, const QString &text);

    CTwirlCtrl *m_knobs[3] = {};
    QLabel *m_state[3] = {};
    QPlainTextEdit *m_log = nullptr;
};
