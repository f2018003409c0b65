#include "TwirlTaskMenu.h"

#include "CTwirlCtrl.h"
#include "CTwirlPropPage.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

TwirlTaskMenu::TwirlTaskMenu(CTwirlCtrl *knob, QObject *parent)
    : QObject(parent)
    , m_knob(knob)
    , m_editAction(new QAction(tr("Twirl Properties..."), this))
{
    m_editAction->setObjectName(QStringLiteral("actTwirlProperties"));
    connect(m_editAction, &QAction::triggered, this, &TwirlTaskMenu::editProperties);
}

QAction *TwirlTaskMenu::preferredEditAction() const
{
    return m_editAction;
}

QList<QAction *> TwirlTaskMenu::taskActions() const
{
    return {m_editAction};
}

void TwirlTaskMenu::writeText(CTwirlCtrl *knob, const QString &text)
{
    if (QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(knob))
        form->cursor()->setWidgetProperty(knob, QStringLiteral("Text"), text);
    else
        knob->setText(text);
}

void TwirlTaskMenu::editProperties()
{
    QDialog dlg(m_knob->window());
    dlg.setWindowTitle(tr("Twirl Control Properties"));
    auto *tabs = new QTabWidget(&dlg);
    auto *page = new CTwirlPropPage(tabs);
    page->setObject(m_knob);
    tabs->addTab(page, CTwirlPropPage::pageTitle());
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, &dlg);
    auto applyPage = [this, page] { writeText(m_knob, page->textField()->text()); };
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, &dlg, applyPage);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, [&dlg, applyPage] {
        applyPage();
        dlg.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dlg);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    dlg.exec();
}

TwirlTaskMenuFactory::TwirlTaskMenuFactory(QExtensionManager *parent)
    : QExtensionFactory(parent)
{
}

QObject *TwirlTaskMenuFactory::createExtension(QObject *object, const QString &iid,
                                               QObject *parent) const
{
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    if (auto *knob = qobject_cast<CTwirlCtrl *>(object))
        return new TwirlTaskMenu(knob, parent);
    return nullptr;
}
