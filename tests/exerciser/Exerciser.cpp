#include "Exerciser.h"

#include "app/frmMain.h"
#include "core/StallWatchdog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

qint64 statusFieldMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key(field);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() / 1024;
    return 0;
}

qint64 cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

QString titleOf(const QWidget *window)
{
    const QString title = window->windowTitle();
    return QStringLiteral("\"%1\" (%2)").arg(title, QString::fromLatin1(window->metaObject()->className()));
}

} // namespace

Exerciser::Exerciser(frmMain &main, StallWatchdog &watchdog, const ExerciseOptions &options, const QString &root)
    : m_main(main), m_watchdog(watchdog), m_options(options), m_root(root), m_random(options.seed)
{
    connect(&m_watchdog, &StallWatchdog::stalled, this, [this](qint64, const QString &line) { log(line); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_phase != Phase::Closing && m_phase != Phase::Done)
            fail(QStringLiteral("the program ended by itself"));
        m_finished = true;
        m_phase = Phase::Done;
    });
}

std::atomic<qint64> &Exerciser::progress()
{
    static std::atomic<qint64> steps{0};
    return steps;
}

qint64 Exerciser::residentMb() { return statusFieldMb("VmRSS:"); }
qint64 Exerciser::peakResidentMb() { return statusFieldMb("VmHWM:"); }
qint64 Exerciser::cpuMsSinceStart() const { return cpuMs() - m_cpuAtStart; }

void Exerciser::start()
{
    m_sinceStart.start();
    schedule();
}

void Exerciser::schedule()
{
    // A person's pace, a little quicker: about eight things a second.
    QTimer::singleShot(40 + int(m_random.bounded(120)), this, &Exerciser::tick);
}

void Exerciser::log(const QString &what)
{
    ++m_actions;
    if (m_options.quiet)
        return;
    const double at = m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0;
    std::printf("[%7.2f] %s\n", at, qPrintable(what));
    std::fflush(stdout);
}

void Exerciser::fail(const QString &why)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = why;
    std::printf("FAILED after %.1f s: %s\n", m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0, qPrintable(why));
    std::printf("watchdog after start-up: %s\n", qPrintable(m_watchdog.summary()));
    std::printf("replay with --seed %llu\n", static_cast<unsigned long long>(m_options.seed));
    std::fflush(stdout);
    // Nothing more can be trusted: a modal loop may be stuck below this call.
    std::_Exit(1);
}

void Exerciser::tick()
{
    ++progress();
    if (m_phase == Phase::Done)
        return;
    // The next step first: this one may open a dialog whose loop runs it.
    schedule();
    if (!judge())
        return;
    struct Depth
    {
        int &depth;
        explicit Depth(int &d) : depth(++d) {}
        ~Depth() { --depth; }
    } depth(m_depth);

    if (typeNext())
        return;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        handlePopup(popup);
        return;
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        handleModal(modal);
        return;
    }
    // Inside a step that lets events run (a progress loop), a person still
    // clicks now and then; otherwise wait for the step to end.
    if (m_depth > 1 && (m_phase != Phase::Random || m_depth > 3 || !chance(20)))
        return;

    switch (m_phase) {
    case Phase::Loading:
        if (m_main.loadingDone()) {
            m_clock.start();
            m_cpuAtStart = cpuMs();
            log(QStringLiteral("loaded in %1 s").arg(m_sinceStart.elapsed() / 1000.0, 0, 'f', 1));
            buildOpeningPlan();
            m_phase = Phase::Opening;
        } else if (m_sinceStart.elapsed() > 120000) {
            fail(QStringLiteral("the program did not finish loading in two minutes"));
        }
        break;
    case Phase::Opening:
        if (m_plan.empty()) {
            checkKindsOpen();
            m_phase = Phase::Random;
        } else {
            auto step = std::move(m_plan.front());
            m_plan.pop_front();
            step();
        }
        break;
    case Phase::Random:
        if (m_clock.elapsed() >= qint64(m_options.seconds) * 1000)
            startClosing();
        else
            randomAction(nullptr);
        break;
    case Phase::Closing:
        if (m_main.isVisible() && m_clock.elapsed() - m_closingAt > 3000) {
            m_closingAt = m_clock.elapsed();
            startClosing();
        }
        break;
    case Phase::Done: break;
    }
}

bool Exerciser::judge()
{
    if (m_watchdog.startupDone() && m_watchdog.worstStallMs() > m_options.stallLimitMs)
        fail(QStringLiteral("the watchdog recorded a stall over %1 ms: %2").arg(m_options.stallLimitMs).arg(m_watchdog.lastStall()));
    const qint64 resident = residentMb();
    if (resident > m_options.memoryLimitMb)
        fail(QStringLiteral("memory %1 MB passed the bound of %2 MB").arg(resident).arg(m_options.memoryLimitMb));
    const qint64 now = m_sinceStart.elapsed();
    QWidget *top = QApplication::activeModalWidget();
    for (qsizetype i = m_modals.size() - 1; i >= 0; --i) {
        const ModalSeen &seen = m_modals[i];
        if (!seen.window || !seen.window->isVisible()) {
            m_modals.removeAt(i);
            continue;
        }
        if (seen.window == top && seen.answeredAt >= 0 && now - seen.answeredAt > m_options.modalLimitMs)
            fail(QStringLiteral("the modal window %1 was still up %2 s after it was answered")
                     .arg(titleOf(seen.window))
                     .arg(m_options.modalLimitMs / 1000));
    }
    if (m_phase == Phase::Closing && !m_main.isVisible() && m_clock.elapsed() - m_closingAt > 15000)
        fail(QStringLiteral("the program did not end 15 s after its main window closed"));
    if (m_phase == Phase::Random && !m_main.isVisible() && !m_main.isMinimized())
        fail(QStringLiteral("the main window closed by itself"));
    return m_failure.isEmpty();
}

bool Exerciser::isQuitQuestion(QWidget *modal)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    return box
           && (box->text().contains(QStringLiteral("exit"), Qt::CaseInsensitive)
               || box->text().contains(QStringLiteral("quit"), Qt::CaseInsensitive));
}

void Exerciser::expect(const QString &what, std::function<bool(QWidget *)> matches,
                       std::function<void(QWidget *)> answer)
{
    m_expected.append({what, std::move(matches), std::move(answer)});
}

void Exerciser::handleModal(QWidget *modal)
{
    const qint64 now = m_sinceStart.elapsed();
    qsizetype index = -1;
    for (qsizetype i = 0; i < m_modals.size(); ++i) {
        if (m_modals[i].window == modal)
            index = i;
        else if (m_modals[i].answeredAt >= 0)
            m_modals[i].answeredAt = -1;  // its answer raised a question of its own; it waits for that
    }
    if (index < 0) {
        ModalSeen seen;
        seen.window = modal;
        // Message boxes are answered at once; dialogs with fields are used a while first.
        const bool plain = qobject_cast<QMessageBox *>(modal) || qobject_cast<QFileDialog *>(modal)
                           || qobject_cast<QPrintDialog *>(modal)
                           || modal->objectName() == QLatin1String("frmLoading");
        seen.playsLeft = plain ? 0 : int(m_random.bounded(14));
        m_modals.append(seen);
        m_kindsSeen << modal->objectName();
        index = m_modals.size() - 1;
        auto *box = qobject_cast<QMessageBox *>(modal);
        log(QStringLiteral("modal %1 is up%2").arg(titleOf(modal), box ? QStringLiteral(": ") + box->text() : QString()));
    }
    ModalSeen &seen = m_modals[index];
    if (seen.answeredAt >= 0) {
        // Not gone a second after the answer: Esc, as a person would press next.
        if (now - seen.answeredAt > 1000 && now - seen.answeredAt < 1200) {
            log(QStringLiteral("Esc again on %1").arg(titleOf(modal)));
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
        }
        return;
    }
    for (qsizetype i = 0; i < m_expected.size(); ++i) {
        if (m_expected[i].matches(modal)) {
            const Expectation expected = m_expected.takeAt(i);
            seen.answeredAt = now;
            log(QStringLiteral("answer %1: %2").arg(titleOf(modal), expected.what));
            expected.answer(modal);
            return;
        }
    }
    if (seen.playsLeft > 0 && m_phase != Phase::Closing) {
        --seen.playsLeft;
        randomAction(modal);
        return;
    }
    seen.answeredAt = now;
    answerModal(modal);
}

void Exerciser::answerModal(QWidget *modal)
{
    auto escape = [this, modal] {
        log(QStringLiteral("Esc on %1").arg(titleOf(modal)));
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
    };
    // Never let a question end the run; the closing phase answers those itself.
    if (isQuitQuestion(modal) || qobject_cast<QPrintDialog *>(modal) || chance(50)) {
        escape();
        return;
    }
    if (auto *files = qobject_cast<QFileDialog *>(modal)) {
        // Only inside the run's own folders; elsewhere the answer is Esc.
        const QString folder = files->directory().absolutePath();
        if (!folder.startsWith(m_root)) {
            escape();
            return;
        }
        QString name;
        if (files->acceptMode() == QFileDialog::AcceptSave)
            name = folder + QStringLiteral("/exercise-%1").arg(m_random.bounded(4));
        else
            name = pickFile(folder, QStringLiteral("*"));
        if (name.isEmpty()) {
            escape();
            return;
        }
        typeIntoFileDialog(modal, name);
        return;
    }
    QPushButton *button = nullptr;
    for (QPushButton *candidate : modal->findChildren<QPushButton *>())
        if (candidate->isDefault() && candidate->isVisible() && candidate->isEnabled())
            button = candidate;
    if (!button)
        if (auto *box = modal->findChild<QDialogButtonBox *>())
            for (QAbstractButton *candidate : box->buttons())
                if (box->buttonRole(candidate) == QDialogButtonBox::AcceptRole && candidate->isEnabled())
                    button = qobject_cast<QPushButton *>(candidate);
    if (!button) {
        escape();
        return;
    }
    log(QStringLiteral("default button \"%1\" on %2").arg(button->text(), titleOf(modal)));
    QTest::mouseClick(button, Qt::LeftButton);
}

void Exerciser::handlePopup(QWidget *popup)
{
    if (auto *menu = qobject_cast<QMenu *>(popup)) {
        QList<QAction *> usable;
        for (QAction *action : menu->actions())
            if (action->isEnabled() && action->isVisible() && !action->isSeparator()
                && !menu->actionGeometry(action).isEmpty())
                usable << action;
        if (usable.isEmpty() || chance(20)) {
            log(QStringLiteral("Esc on menu \"%1\"").arg(menu->title()));
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        QAction *action = pick(usable);
        log(QStringLiteral("menu \"%1\": %2 %3").arg(menu->title(), action->text(), action->objectName()));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return;
    }
    // A combo box's list: move through it and take a row, or leave it.
    QWidget *target = popup->focusWidget() ? popup->focusWidget() : popup;
    if (chance(30)) {
        log(QStringLiteral("Esc on a list"));
        QTest::keyClick(target, Qt::Key_Escape);
        return;
    }
    const int steps = int(m_random.bounded(6));
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(target, chance(70) ? Qt::Key_Down : Qt::Key_Up);
    log(QStringLiteral("take row %1 steps on").arg(steps));
    QTest::keyClick(target, Qt::Key_Return);
}

void Exerciser::startClosing()
{
    if (m_phase != Phase::Closing) {
        m_phase = Phase::Closing;
        m_closingAt = m_clock.elapsed();
        log(QStringLiteral("time is up: closing the program"));
    }
    if (QApplication::activeModalWidget())
        return;  // answered first, by the usual rules
    m_expected.clear();
    expect(
        QStringLiteral("Yes to exit"), [](QWidget *modal) { return isQuitQuestion(modal); },
        [](QWidget *modal) {
            if (auto *yes = qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes))
                QTest::mouseClick(yes, Qt::LeftButton);
        });
    expect(
        QStringLiteral("No to saving"),
        [](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            return box && box->button(QMessageBox::No) && box->text().contains(QStringLiteral("save"), Qt::CaseInsensitive);
        },
        [](QWidget *modal) { QTest::mouseClick(qobject_cast<QMessageBox *>(modal)->button(QMessageBox::No), Qt::LeftButton); });
    log(QStringLiteral("tool ID_Exit"));
    m_main.tool(QStringLiteral("ID_Exit"))->trigger();
}
