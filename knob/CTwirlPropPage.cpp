#include "CTwirlPropPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

CTwirlPropPage::CTwirlPropPage(QWidget *parent)
    : QWidget(parent)
    , m_text(new QLineEdit(this))
{
    setWindowTitle(pageTitle());
    m_text->setObjectName(QStringLiteral("txtText"));
    auto *label = new QLabel(QStringLiteral("Text:"), this);
    label->setObjectName(QStringLiteral("lblText"));
    label->setBuddy(m_text);
    auto *form = new QFormLayout(this);
    form->addRow(label, m_text);
}

QString CTwirlPropPage::pageTitle()
{
    return QStringLiteral("General");
}

void CTwirlPropPage::setObject(QObject *object)
{
    m_object = object;
    load();
}

void CTwirlPropPage::load()
{
    m_text->setText(m_object ? m_object->property("Text").toString() : QString());
}

void CTwirlPropPage::apply()
{
    if (m_object)
        m_object->setProperty("Text", m_text->text());
}
