#pragma once

#include <QObject>

// Drops every key a numeric field must not take: only digits, backspace,
// tab, Enter and the copy and paste keys get through (and the keys that type
// nothing, such as the arrows and Delete, which only move or remove).
class NumericKeyFilter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Installs one shared filter on the field.
    static void install(QObject *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
