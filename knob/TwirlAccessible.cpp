#include "TwirlAccessible.h"

#include "CTwirlCtrl.h"

TwirlAccessible::TwirlAccessible(QWidget *w)
    : QAccessibleWidget(w, QAccessible::Dial)
{
}

CTwirlCtrl *TwirlAccessible::knob() const
{
    return static_cast<CTwirlCtrl *>(widget());
}

QString TwirlAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        QString name = widget()->accessibleName();
        if (name.isEmpty())
            name = knob()->Text();
        if (name.isEmpty())
            name = QStringLiteral("Twirl Control");
        return name;
    }
    case QAccessible::Value:
        return QString::number(knob()->Value());
    default:
        return QAccessibleWidget::text(t);
    }
}

void *TwirlAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant TwirlAccessible::currentValue() const
{
    return knob()->Value();
}

void TwirlAccessible::setCurrentValue(const QVariant &value)
{
    knob()->setValue(value.toInt());
}

QVariant TwirlAccessible::maximumValue() const
{
    return knob()->Max();
}

QVariant TwirlAccessible::minimumValue() const
{
    return knob()->Min();
}

QVariant TwirlAccessible::minimumStepSize() const
{
    return 1;
}

namespace {

QAccessibleInterface *twirlFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CTwirlCtrl") && object && object->isWidgetType())
        return new TwirlAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installTwirlAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(twirlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
