#include "FakeMainWindow.h"

#include "app/ToolDefinitions.h"

#include <QAction>

static_assert(std::size(kTools) == std::size_t(MainTool::Count));

FakeMainWindow::FakeMainWindow()
{
    for (std::size_t i = 0; i < std::size(kTools); ++i) {
        const QString id = QString::fromLatin1(kTools[i].id);
        auto *action = new QAction(&window);
        action->setObjectName(id);
        action->setCheckable(kTools[i].kind == ToolDefinition::TwoState);
        QObject::connect(action, &QAction::triggered, &window, [this, id] { triggered << id; });
        m_tools[i] = action;
    }
    MainWindowPort::install(this);
}

FakeMainWindow::~FakeMainWindow()
{
    if (MainWindowPort::instance() == this)
        MainWindowPort::install(nullptr);
}
