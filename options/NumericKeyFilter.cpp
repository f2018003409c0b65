#include "options/NumericKeyFilter.h"

#include "core/Utilities.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

void NumericKeyFilter::install(QObject *field)
{
    static NumericKeyFilter *shared = new NumericKeyFilter(QCoreApplication::instance());
    field->installEventFilter(shared);
}

bool NumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Copy))
        return !IsNumericKey(3);
    if (key->matches(QKeySequence::Paste))
        return !IsNumericKey(22);
    switch (key->key()) {
    case Qt::Key_Backspace: return !IsNumericKey(8);
    case Qt::Key_Tab: case Qt::Key_Backtab: return !IsNumericKey(9);
    case Qt::Key_Return: case Qt::Key_Enter: return !IsNumericKey(13);
    // Editing and dialog keys that desktops deliver with a control character
    // as their text ("\x7f", "\x1b"): they type nothing.
    case Qt::Key_Delete: case Qt::Key_Escape: return false;
    default: break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return false;
    const char16_t c = text.front().unicode();
    return !(c < 0x8000 && IsNumericKey(qint16(c)));
}
