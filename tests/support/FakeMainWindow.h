#pragma once

#include "core/MainWindowPort.h"

#include <QComboBox>
#include <QStringList>
#include <QWidget>

class QAction;

// A main window with every tool of the real one (same identifiers, same
// two-state tools) and nothing behind them: it remembers which tools were
// triggered and what the status bar was told. Installed while it lives.
class FakeMainWindow : public MainWindowPort
{
public:
    FakeMainWindow();
    ~FakeMainWindow() override;

    QAction *tool(MainTool id) const override { return m_tools[int(id)]; }
    QComboBox *weatherDates() const override { return dates; }
    QString statusText() const override { return status; }
    void setStatusText(const QString &text) override { status = text; }
    QWidget *activeChild() const override { return active; }
    QWidget *openCaptureWindow() override { return nullptr; }
    void setFrameIndicator(bool on) override { frameIndicator = on; }
    QWidget *dialogParent() override { return &window; }

    QWidget window;
    QComboBox *dates = new QComboBox(&window);
    QWidget *active = nullptr;
    QString status = QStringLiteral("Ready...");
    bool frameIndicator = false;
    // Identifiers of the tools triggered, in order.
    QStringList triggered;

private:
    QAction *m_tools[int(MainTool::Count)] = {};
};
