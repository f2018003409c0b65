#include "satellites/MainWindowLink.h"

#include "core/Utilities.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

namespace MainWindowLink {

void setStatusText(const QString &text)
{
    QWidget *main = mainWindow();
    if (auto *panel = main ? main->findChild<QLabel *>(QStringLiteral("panel1")) : nullptr) {
        panel->setText(text);
        panel->repaint();
    }
}

void switchToolOff(const QString &id)
{
    QWidget *main = mainWindow();
    QAction *tool = main ? main->findChild<QAction *>(id) : nullptr;
    if (tool && tool->isCheckable() && tool->isChecked())
        tool->trigger();
}

void showToolState(const QString &id, bool on)
{
    QWidget *main = mainWindow();
    QAction *tool = main ? main->findChild<QAction *>(id) : nullptr;
    if (tool && tool->isCheckable())
        tool->setChecked(on);
}

} // namespace MainWindowLink
