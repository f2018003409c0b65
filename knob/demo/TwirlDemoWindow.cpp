#include "TwirlDemoWindow.h"

#include "CTwirlCtrl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TwirlDemoWindow::TwirlDemoWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("twirl demo"));
    for (int i = 0; i < 3; ++i) {
        m_knobs[i] = new CTwirlCtrl(this);
        m_knobs[i]->setObjectName(QStringLiteral("knob%1").arg(i + 1));
        m_knobs[i]->setMinimumSize(150, 150);
    }

    // Second knob: a stepped control with ticks it snaps to and a caption.
    CTwirlCtrl *k = m_knobs[1];
    k->setMax(11);
    k->setTickCount(12);
    k->setTickLength(7);
    k->setTickGap(3);
    k->setTickWidth(2);
    k->setTickColor(QColor(40, 40, 40));
    k->setTickSnapping(true);
    k->setAppearence(CTwirlCtrl::_3D);
    k->setAppearence3DHeight(4);
    k->setKnobColor(QColor(70, 110, 160));
    k->setIndicatorColor(QColor(45, 80, 125));
    k->setIndicatorStyle(CTwirlCtrl::isHalfShaded);
    k->setForeColor(Qt::white);
    QFont f = k->Font();
    f.setBold(true);
    k->setFont(f);
    k->setText(QStringLiteral("Gain"));
    k->setValue(4);

    // Third knob: a fine-adjust ring and auto-spin (hold a button to turn).
    k = m_knobs[2];
    k->setMin(0);
    k->setMax(999);
    k->setFineAdjust(true);
    k->setFineAdjustWidth(22);
    k->setFineAdjustTicks(10);
    k->setFineAdjustLineLength(8);
    k->setKnobColor(QColor(170, 60, 50));
    k->setFineAdjustColor(QColor(225, 200, 170));
    k->setIndicatorStyle(CTwirlCtrl::isLine);
    k->setIndicatorLineWidth(3);
    k->setAutoSpin(true);
    k->setAutoSpinSpeed(1);
    k->setValue(120);
    k->setFineAdjustPosition(40);

    auto *row = new QHBoxLayout;
    row->addWidget(makeColumn(0, QStringLiteral("Defaults")));
    row->addWidget(makeColumn(1, QStringLiteral("Ticks, snapping, caption")));
    row->addWidget(makeColumn(2, QStringLiteral("Fine ring, auto-spin")));

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("txtLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(1000);
    m_log->setMinimumHeight(120);

    auto *about = new QPushButton(QStringLiteral("About..."), this);
    about->setObjectName(QStringLiteral("cmdAbout"));
    connect(about, &QPushButton::clicked, m_knobs[0], &CTwirlCtrl::AboutBox);
    auto *clear = new QPushButton(QStringLiteral("Clear log"), this);
    connect(clear, &QPushButton::clicked, m_log, &QPlainTextEdit::clear);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(clear);
    buttons->addWidget(about);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(row, 1);
    outer->addWidget(new QLabel(QStringLiteral("Signals:"), this));
    outer->addWidget(m_log);
    outer->addLayout(buttons);

    for (int i = 0; i < 3; ++i) {
        watch(i);
        showState(i);
    }
    resize(640, 460);
}

QWidget *TwirlDemoWindow::makeColumn(int i, const QString &title)
{
    auto *box = new QWidget(this);
    auto *heading = new QLabel(title, box);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_state[i] = new QLabel(box);
    m_state[i]->setAlignment(Qt::AlignCenter);
    m_state[i]->setObjectName(QStringLiteral("lblState%1").arg(i + 1));
    auto *v = new QVBoxLayout(box);
    v->addWidget(heading);
    v->addWidget(m_knobs[i], 1);
    v->addWidget(m_state[i]);
    return box;
}

void TwirlDemoWindow::watch(int i)
{
    CTwirlCtrl *k = m_knobs[i];
    connect(k, &CTwirlCtrl::PositionChanged, this, [this, i](short d) {
        note(i, QStringLiteral("PositionChanged(%1)").arg(d));
        showState(i);
    });
    connect(k, &CTwirlCtrl::ValueChanged, this, [this, i](int d) {
        note(i, QStringLiteral("ValueChanged(%1)").arg(d));
        showState(i);
    });
    connect(k, &CTwirlCtrl::LeftDblClick, this, [this, i] { note(i, QStringLiteral("LeftDblClick")); });
    connect(k, &CTwirlCtrl::RightDblClick, this, [this, i] { note(i, QStringLiteral("RightDblClick")); });
    connect(k, &CTwirlCtrl::TickSnap, this, [this, i](short p, int v) {
        note(i, QStringLiteral("TickSnap(%1, %2)").arg(p).arg(v));
    });
    connect(k, &CTwirlCtrl::MouseDownCoarse, this, [this, i](short b) {
        note(i, QStringLiteral("MouseDownCoarse(%1)").arg(b));
    });
    connect(k, &CTwirlCtrl::MouseDownFine, this, [this, i](short b) {
        note(i, QStringLiteral("MouseDownFine(%1)").arg(b));
    });
    connect(k, &CTwirlCtrl::MouseDown, this, [this, i](short b, short s, int x, int y) {
        note(i, QStringLiteral("MouseDown(%1, %2, %3, %4)").arg(b).arg(s).arg(x).arg(y));
    });
    connect(k, &CTwirlCtrl::MouseUp, this, [this, i](short b, short s, int x, int y) {
        note(i, QStringLiteral("MouseUp(%1, %2, %3, %4)").arg(b).arg(s).arg(x).arg(y));
    });
}

void TwirlDemoWindow::showState(int i)
{
    const CTwirlCtrl *k = m_knobs[i];
    m_state[i]->setText(QStringLiteral("Position %1    Value %2").arg(k->Position()).arg(k->Value()));
}

void TwirlDemoWindow::note(int i, const QString &text)
{
    m_log->appendPlainText(QStringLiteral("knob%1: %2").arg(i + 1).arg(text));
}
