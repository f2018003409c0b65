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
    bool previewPrint(QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint) override;
    QColor chooseColour(const QColor &initial, const QString &title) override;
    int choose(const QString &text, const QString &title, const QStringList &choices) override;
};
