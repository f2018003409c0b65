#pragma once

#include <QList>
#include <QWidget>

#include "core/WindowInterfaces.h"
#include "stations/FrameDecoder.h"

class QPlainTextEdit;

// The terminal window: the raw text of every frame heard, newest at the
// bottom, and the event-log entry point of the frame intake. Created hidden;
// the main window shows and hides it (its close box too).
class frmIncoming : public QWidget, public TerminalWindow
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Terminal Window");
    // Before a frame is added, a text longer than this is cut to its last KeepCharacters.
    static constexpr qsizetype MaxCharacters = 10000;
    static constexpr qsizetype KeepCharacters = 5000;
    static constexpr qsizetype KeptEvents = 1000;

    explicit frmIncoming(QWidget *parent = nullptr);

    void RxData(const QString &strData) override;
    void UpdateEventLog(const QString &strText, int nType, const QString &vData) override;

    // The text as the terminal holds it, line ends as received. lstIncoming
    // shows it with one line break per line end, brought up to date when shown.
    const QString &text() const { return m_text; }
    // The newest event-log entries, oldest first. They are kept, not shown.
    const QList<FrameEvent> &eventLog() const { return m_events; }

    QPlainTextEdit *lstIncoming = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void appendDisplay(const QString &chunk);
    void rebuildDisplay();

    QString m_text;
    bool m_displayEndsInCR = false;
    bool m_displayStale = false;
    QList<FrameEvent> m_events;
};
