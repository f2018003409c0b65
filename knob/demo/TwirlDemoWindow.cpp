#include "TwirlDemoWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TwirlDemoWindow::TwirlDemoWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("twirl demo"));
    for (int i = 0; i < KnobCount; ++i) {
        m_knobs[i] = new CTwirlCtrl(this);
        m_knobs[i]->setObjectName(QStringLiteral("knob%1").arg(i + 1));
        m_knobs[i]->setMinimumSize(140, 140);
    }
    setUpKnobs();

    // A plain connection, as any host would make it.
    m_lcd = new QLCDNumber(4, this);
    m_lcd->setObjectName(QStringLiteral("lcdValue"));
    m_lcd->setSegmentStyle(QLCDNumber::Flat);
    m_lcd->setMinimumHeight(36);
    m_lcd->display(m_knobs[Smooth]->Value());
    connect(m_knobs[Smooth], &CTwirlCtrl::valueChanged, m_lcd,
            qOverload<int>(&QLCDNumber::display));

    auto *top = new QHBoxLayout;
    top->addWidget(makeColumn(Defaults, QStringLiteral("Defaults"),
                              QStringLiteral("Drag the face")));
    top->addWidget(makeColumn(Ticks, QStringLiteral("Ticks, snapping, caption"),
                              QStringLiteral("Snaps to the ticks")));
    top->addWidget(makeColumn(FineRing, QStringLiteral("Fine ring"),
                              QStringLiteral("Drag the ring: a step per 36\u00b0")));
    top->addWidget(makeColumn(Smooth, QStringLiteral("Antialiased"),
                              QStringLiteral("Its value on an LCD"), m_lcd));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(makeColumn(AutoSpin, QStringLiteral("Auto-spin"),
                                 QStringLiteral("Hold left: anticlockwise\nHold right: clockwise")));
    bottom->addWidget(makeColumn(Disabled, QStringLiteral("Disabled"),
                                 QStringLiteral("Greyed, takes no input")));
    bottom->addWidget(makeGallery(), 2);

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("txtLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(1000);
    m_log->setMinimumHeight(100);

    auto *about = new QPushButton(QStringLiteral("About..."), this);
    about->setObjectName(QStringLiteral("cmdAbout"));
    connect(about, &QPushButton::clicked, m_knobs[Defaults], &CTwirlCtrl::AboutBox);
    auto *clear = new QPushButton(QStringLiteral("Clear log"), this);
    connect(clear, &QPushButton::clicked, m_log, &QPlainTextEdit::clear);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(clear);
    buttons->addWidget(about);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top, 3);
    outer->addLayout(bottom, 2);
    outer->addWidget(new QLabel(QStringLiteral("Signals:"), this));
    outer->addWidget(m_log, 1);
    outer->addLayout(buttons);

    for (int i = 0; i < KnobCount; ++i) {
        watch(i);
        showState(i);
    }
    resize(900, 760);
}

void TwirlDemoWindow::setUpKnobs()
{
    // A stepped control with ticks it snaps to, a raised look and a caption.
    CTwirlCtrl *k = m_knobs[Ticks];
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
    k->setIndicatorStyle(CTwirlCtrl::isPointer);
    k->setIndicatorColor(QColor(255, 222, 110));
    k->setForeColor(Qt::white);
    QFont f = k->Font();
    f.setBold(true);
    k->setFont(f);
    k->setText(QStringLiteral("Gain"));
    k->setValue(4);

    // A wide range with a fine-adjust ring: the face for big moves, the ring
    // for single steps.
    k = m_knobs[FineRing];
    k->setMax(999);
    k->setFineAdjust(true);
    k->setFineAdjustWidth(24);
    k->setFineAdjustTicks(10);
    k->setFineAdjustLineLength(10);
    k->setKnobColor(QColor(170, 60, 50));
    k->setFineAdjustColor(QColor(70, 66, 64));
    k->setIndicatorStyle(CTwirlCtrl::isLine);
    k->setIndicatorLineWidth(3);
    k->setValue(120);
    k->setFineAdjustPosition(40);

    // Drawn smooth, with an indicator that stands out from the face.
    k = m_knobs[Smooth];
    k->setAntialiased(true);
    k->setMax(100);
    k->setTickCount(20);
    k->setTickWidth(2);
    k->setTickLength(6);
    k->setTickColor(QColor(95, 105, 120));
    k->setAppearence(CTwirlCtrl::_3D);
    k->setAppearence3DHeight(4);
    k->setKnobColor(QColor(52, 60, 74));
    k->setRimColor(QColor(20, 22, 28));
    k->setIndicatorStyle(CTwirlCtrl::isLine);
    k->setIndicatorLineWidth(5);
    k->setIndicatorColor(QColor(255, 165, 30));
    k->setValue(42);

    k = m_knobs[AutoSpin];
    k->setMax(99);
    k->setAutoSpin(true);
    k->setAntialiased(true);
    k->setKnobColor(QColor(60, 130, 90));
    k->setIndicatorStyle(CTwirlCtrl::isPointer);
    k->setIndicatorColor(Qt::white);
    k->setValue(25);

    k = m_knobs[Disabled];
    k->setMax(11);
    k->setTickCount(12);
    k->setTickWidth(2);
    k->setKnobColor(QColor(70, 110, 160));
    k->setIndicatorStyle(CTwirlCtrl::isPointer);
    k->setIndicatorColor(QColor(255, 222, 110));
    k->setValue(3);
    k->setEnabled(false);
}

QWidget *TwirlDemoWindow::makeColumn(int i, const QString &title, const QString &hint,
                                     QWidget *extra)
{
    auto *box = new QWidget(this);
    auto *heading = new QLabel(title, box);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *help = new QLabel(hint, box);
    help->setAlignment(Qt::AlignCenter);
    help->setEnabled(false);
    m_state[i] = new QLabel(box);
    m_state[i]->setAlignment(Qt::AlignCenter);
    m_state[i]->setObjectName(QStringLiteral("lblState%1").arg(i + 1));
    auto *v = new QVBoxLayout(box);
    v->addWidget(heading);
    v->addWidget(help);
    v->addWidget(m_knobs[i], 1);
    v->addWidget(m_state[i]);
    if (extra)
        v->addWidget(extra);
    return box;
}

QWidget *TwirlDemoWindow::makeGallery()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("gallery"));
    auto *heading = new QLabel(QStringLiteral("Indicator styles"), box);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *grid = new QGridLayout;
    const QMetaEnum styles = QMetaEnum::fromType<CTwirlCtrl::IndicatorStyles>();
    for (int s = 0; s < 5; ++s) {
        auto *k = new CTwirlCtrl(box);
        const QString name = QString::fromLatin1(styles.valueToKey(s));
        k->setObjectName(QStringLiteral("style_") + name);
        k->setIndicatorStyle(CTwirlCtrl::IndicatorStyles(s));
        k->setIndicatorLineWidth(3);
        k->setValue(3);
        k->setMinimumSize(72, 72);
        m_styles[s] = k;
        auto *label = new QLabel(name, box);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(k, 0, s);
        grid->addWidget(label, 1, s);
    }
    auto *v = new QVBoxLayout(box);
    v->addWidget(heading);
    v->addStretch(1);
    v->addLayout(grid);
    v->addStretch(1);
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
