#include "core/LoadingDialog.h"

#include "core/MainWindowPort.h"
#include "core/Utilities.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

LoadingDialog::LoadingDialog(QWidget *parent)
    : QDialog(parent ? parent : MainWindowPort::widget())
    , m_label(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Loading Data"));
    setObjectName(QStringLiteral("frmLoading"));
    m_label->setObjectName(QStringLiteral("lblLoading"));
    m_bar->setObjectName(QStringLiteral("pbLoading"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_bar->setMinimum(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setMinimumWidth(360);

    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    adjustSize();
    CentreOnMain(this);
}

void LoadingDialog::reject()
{
    if (m_cancel->isEnabled())
        m_cancelled = true;
}

void LoadingDialog::finish()
{
    m_finished = true;
    close();
}

void LoadingDialog::closeEvent(QCloseEvent *event)
{
    if (m_finished)
        QWidget::closeEvent(event);
    else
        QDialog::closeEvent(event);
}

void LoadingDialog::setLabel(const QString &text) { m_label->setText(text); }

void LoadingDialog::setRange(int maximum)
{
    m_bar->setMinimum(0);
    m_bar->setMaximum(maximum);
}

void LoadingDialog::setCancelEnabled(bool enabled) { m_cancel->setEnabled(enabled); }

void LoadingDialog::start()
{
    m_cancelled = false;
    m_finished = false;
    show();
    CentreOnMain(this);
    QApplication::processEvents();
}

void LoadingDialog::step(int value)
{
    m_bar->setValue(qBound(m_bar->minimum(), value, m_bar->maximum()));
    repaint();
    QApplication::processEvents();
}
