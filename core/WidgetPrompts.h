#pragma once

#include "core/Prompts.h"

// Prompts shown as real dialogs over the active window.
class WidgetPrompts : public Prompts
{
public:
    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder, const QString &filter,
                         const QString &suggestedName) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    bool choosePrinter(QPrinter *printer, const QString &title) override;
    QColor chooseColour(const QColor &initial, const QString &title) override;
};
