#include "TwirlDesignerPlugin.h"

#include "CTwirlCtrl.h"
#include "TwirlIcon.h"
#include "TwirlTaskMenu.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

TwirlDesignerPlugin::TwirlDesignerPlugin(QObject *parent)
    : QObject(parent)
{
}

QString TwirlDesignerPlugin::name() const
{
    return QStringLiteral("CTwirlCtrl");
}

QString TwirlDesignerPlugin::group() const
{
    return QStringLiteral("twirl");
}

QString TwirlDesignerPlugin::toolTip() const
{
    return QStringLiteral("Twirl Control");
}

QString TwirlDesignerPlugin::whatsThis() const
{
    return QStringLiteral("A rotary knob with ticks, snapping, wrap-around, auto-spin and a "
                          "fine-adjust ring.");
}

QString TwirlDesignerPlugin::includeFile() const
{
    return QStringLiteral("CTwirlCtrl.h");
}

QIcon TwirlDesignerPlugin::icon() const
{
    return twirlIcon();
}

bool TwirlDesignerPlugin::isContainer() const
{
    return false;
}

QWidget *TwirlDesignerPlugin::createWidget(QWidget *parent)
{
    return new CTwirlCtrl(parent);
}

bool TwirlDesignerPlugin::isInitialized() const
{
    return m_initialized;
}

void TwirlDesignerPlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_initialized)
        return;
    if (core && core->extensionManager()) {
        core->extensionManager()->registerExtensions(new TwirlTaskMenuFactory(core->extensionManager()),
                                                     Q_TYPEID(QDesignerTaskMenuExtension));
    }
    m_initialized = true;
}

QString TwirlDesignerPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
  <widget class="CTwirlCtrl" name="twirl">
    <property name="geometry">
      <rect><x>0</x><y>0</y><width>100</width><height>100</height></rect>
    </property>
    <property name="toolTip"><string>Twirl Control</string></property>
  </widget>
</ui>
)");
}
