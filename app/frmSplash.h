#pragma once

#include <QWidget>

// Shown while the main window is created: the title and "Version x.y.z".
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
    static QString versionText();

protected:
    void paintEvent(QPaintEvent *event) override;
};
