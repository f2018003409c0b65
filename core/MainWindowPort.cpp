#include "core/MainWindowPort.h"

#include <QAction>

namespace {
MainWindowPort *g_mainWindow = nullptr;
}

MainWindowPort *MainWindowPort::instance() { return g_mainWindow; }

void MainWindowPort::install(MainWindowPort *window) { g_mainWindow = window; }

QWidget *MainWindowPort::widget() { return g_mainWindow ? g_mainWindow->dialogParent() : nullptr; }

QAction *MainWindowPort::toolOf(MainTool id) { return g_mainWindow ? g_mainWindow->tool(id) : nullptr; }

void MainWindowPort::switchToolOff(MainTool id)
{
    QAction *tool = toolOf(id);
    if (tool && tool->isCheckable() && tool->isChecked())
        tool->trigger();
}

void MainWindowPort::showToolState(MainTool id, bool on)
{
    QAction *tool = toolOf(id);
    if (tool && tool->isCheckable())
        tool->setChecked(on);
}
