#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class CTwirlCtrl;

// Screen readers see the knob as a dial with a name (its caption) and a value.
class TwirlAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TwirlAccessible(QWidget *w);

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    CTwirlCtrl *knob() const;
};

void installTwirlAccessibleFactory();
