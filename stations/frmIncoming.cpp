#include "stations/frmIncoming.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

// The edit control knows one line break; the frames bring CR LF, lone CR or
// lone LF and may hold NULs. startsAfterCR: the text shown so far ended in CR,
// so a leading LF belongs to that line end.
QString displayForm(const QString &text, bool startsAfterCR, bool *endsInCR)
{
    QString out;
    out.reserve(text.size());
    bool afterCR = startsAfterCR;
    for (const QChar c : text) {
        if (c == QChar(13)) {
            out += QLatin1Char('\n');
            afterCR = true;
            continue;
        }
        if (c == QChar(10)) {
            if (!afterCR)
                out += QLatin1Char('\n');
        } else if (!c.isNull()) {
            out += c;
        }
        afterCR = false;
    }
    *endsInCR = afterCR;
    return out;
}

} // namespace

frmIncoming::frmIncoming(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmIncoming"));
    setWindowTitle(Caption);

    lstIncoming = new QPlainTextEdit(this);
    lstIncoming->setObjectName(QStringLiteral("lstIncoming"));
    lstIncoming->setReadOnly(true);
    lstIncoming->setUndoRedoEnabled(false);
    lstIncoming->setLineWrapMode(QPlainTextEdit::NoWrap);
    lstIncoming->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Keeps the caret visible for the user while the text only ever grows at the end.
    lstIncoming->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstIncoming);
    resize(520, 300);
}

void frmIncoming::RxData(const QString &strData)
{
    bool trimmed = false;
    if (m_text.size() > MaxCharacters) {
        m_text = m_text.right(KeepCharacters);
        trimmed = true;
    }
    m_text += strData;
    // A hidden terminal only keeps the text; it is laid out once, when shown.
    if (!lstIncoming->isVisible()) {
        m_displayStale = true;
        return;
    }
    if (trimmed || m_displayStale)
        rebuildDisplay();
    else
        appendDisplay(strData);
}

void frmIncoming::rebuildDisplay()
{
    lstIncoming->setPlainText(displayForm(m_text, false, &m_displayEndsInCR));
    m_displayStale = false;
    lstIncoming->moveCursor(QTextCursor::End);
}

void frmIncoming::appendDisplay(const QString &chunk)
{
    bool endsInCR = false;
    const QString shown = displayForm(chunk, m_displayEndsInCR, &endsInCR);
    m_displayEndsInCR = endsInCR;

    QTextCursor cursor(lstIncoming->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
    lstIncoming->setTextCursor(cursor);
    lstIncoming->ensureCursorVisible();
}

void frmIncoming::UpdateEventLog(const QString &strText, int nType, const QString &vData)
{
    if (m_events.size() >= KeptEvents)
        m_events.removeFirst();
    m_events.append({nType, strText, vData});
}

void frmIncoming::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_displayStale)
        rebuildDisplay();
    // The newest frame is what the user wants to see.
    lstIncoming->ensureCursorVisible();
}
