#pragma once

#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;
class CTwirlCtrl;

// The knob's entry in Designer's context menu: its property page in a dialog.
class TwirlTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TwirlTaskMenu(CTwirlCtrl *knob, QObject *parent);

    QAction *preferredEditAction() const override;
    QList<QAction *> taskActions() const override;

    // Writes the text through the form's cursor, so that undo and saving see it.
    static void writeText(CTwirlCtrl *knob, const QString &text);

private:
    void editProperties();

    CTwirlCtrl *m_knob;
    QAction *m_editAction;
};

class TwirlTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit TwirlTaskMenuFactory(QExtensionManager *parent = nullptr);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};
