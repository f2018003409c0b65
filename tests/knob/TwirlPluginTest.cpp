#include "knob/CTwirlCtrl.h"

#include <gtest/gtest.h>

#include <QJsonObject>
#include <QPluginLoader>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QAction>
#include <memory>

namespace {

// A bare form editor core with an extension manager, as Designer gives plugins.
class Core : public QDesignerFormEditorInterface
{
public:
    Core() { setExtensionManager(new QExtensionManager(this)); }
};

} // namespace

TEST(TwirlPlugin, DesignerLoadsThePluginAndCreatesTheKnob)
{
    QPluginLoader loader(QStringLiteral(TWIRL_PLUGIN_FILE));
    QObject *instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), QStringLiteral("CTwirlCtrl"));
    EXPECT_EQ(plugin->group(), QStringLiteral("twirl"));
    EXPECT_FALSE(plugin->toolTip().isEmpty());
    EXPECT_FALSE(plugin->icon().isNull());
    EXPECT_FALSE(plugin->isContainer());
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("class=\"CTwirlCtrl\"")));
    EXPECT_EQ(plugin->includeFile(), QStringLiteral("CTwirlCtrl.h"));

    const QJsonObject ids = loader.metaData().value("MetaData").toObject().value("ClassIds").toObject();
    EXPECT_EQ(ids.value("CTwirlCtrl").toString(), QStringLiteral("twirl.TwirlCtrl.1"));
    EXPECT_EQ(ids.value("CTwirlPropPage").toString(), QStringLiteral("twirl.TwirlPropPage.1"));

    std::unique_ptr<QWidget> w(plugin->createWidget(nullptr));
    auto *knob = qobject_cast<CTwirlCtrl *>(w.get());
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->Version(), QStringLiteral("1.0"));

    Core core;
    plugin->initialize(&core);
    EXPECT_TRUE(plugin->isInitialized());
    auto *menu = qt_extension<QDesignerTaskMenuExtension *>(core.extensionManager(), knob);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->taskActions().size(), 1);
    EXPECT_EQ(menu->preferredEditAction(), menu->taskActions().first());
}
