#pragma once

// The knob's "General" property page: one field bound to the Text property.
// It edits any object with a "Text" property, so any host can use it.

#include "twirl_global.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;

class TWIRL_EXPORT CTwirlPropPage : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ProgID", "twirl.TwirlPropPage.1")
    Q_CLASSINFO("TypeName", "Twirl Property Page")

public:
    explicit CTwirlPropPage(QWidget *parent = nullptr);

    static QString pageTitle();
    void setObject(QObject *object);
    QObject *object() const { return m_object; }
    QLineEdit *textField() const { return m_text; }

public Q_SLOTS:
    // Object to page.
    void load();
    // Page to object.
    void apply();

private:
    QPointer<QObject> m_object;
    QLineEdit *m_text;
};
