#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>

class QWidget;
class StallWatchdog;
class frmMain;

struct ExerciseOptions
{
    quint64 seed = 0;
    int seconds = 120;
    qint64 memoryLimitMb = 2048;
    qint64 stallLimitMs = 1000;
    int modalLimitMs = 5000;
    bool quiet = false;
};

// A user who does random but legal things to the running program, and the
// judge of what the program does in return.
//
// Every step runs from a fresh single-shot timer, so steps go on inside the
// loops of modal dialogs and menus the previous step opened: that is how
// dialogs get answered (Esc or the default button) and menus chosen from.
// The run fails when a modal window stays up 5 s after it was answered,
// when the watchdog records a stall over the limit, when memory passes its
// bound, or when the program ends by itself.
class Exerciser : public QObject
{
    Q_OBJECT
public:
    Exerciser(frmMain &main, StallWatchdog &watchdog, const ExerciseOptions &options, const QString &root);

    void start();

    bool passed() const { return m_failure.isEmpty() && m_finished; }
    QString failure() const { return m_failure; }
    int actions() const { return m_actions; }
    // Seconds of random use after start-up.
    double seconds() const { return m_clock.elapsed() / 1000.0; }
    QStringList kindsMissing() const { return m_kindsMissing; }
    qint64 cpuMsSinceStart() const;
    static qint64 residentMb();
    static qint64 peakResidentMb();

    // Each step of the user-interface thread's own loop, for the hang detector.
    static std::atomic<qint64> &progress();

signals:
    void finished();

private:
    // What to do with a modal window the plan expects (a file dialog to fill,
    // a question to answer a certain way); unmatched modals get random answers.
    struct Expectation
    {
        QString what;
        std::function<bool(QWidget *)> matches;
        std::function<void(QWidget *)> answer;
    };
    struct ModalSeen
    {
        QPointer<QWidget> window;
        qint64 answeredAt = -1;
        int playsLeft = 0;
    };
    enum class Phase { Loading, Opening, Random, Closing, Done };
    struct Keystroke
    {
        QPointer<QWidget> target;
        Qt::Key key;
        QString text;
    };

    // Exerciser.cpp: the run, the judging and dialogs.
    void tick();
    void schedule();
    bool judge();
    void fail(const QString &why);
    void log(const QString &what);
    void handleModal(QWidget *modal);
    void answerModal(QWidget *modal);
    void handlePopup(QWidget *popup);
    void startClosing();
    void expect(const QString &what, std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> answer);
    static bool isQuitQuestion(QWidget *modal);

    // ExerciserOpening.cpp: every window kind, opened the way a user does.
    void buildOpeningPlan();
    void checkKindsOpen();
    void typeIntoFileDialog(QWidget *dialog, const QString &path);
    bool activateTagged(const QString &tag);
    void selectWeatherStation();
    QString pickFile(const QString &folder, const QString &pattern);
    void reopenMissingKind();

    // ExerciserActions.cpp: the random things a user does.
    void randomAction(QWidget *within);
    void useTool();
    void openMenu();
    void chooseCombo();
    void switchTab(QWidget *window);
    void pressKey(QWidget *window);
    void turnWheel(QWidget *window);
    void drag(QWidget *window);
    void clickSomething(QWidget *window);
    void typeText(QWidget *window);
    void type(QWidget *field, const QString &text, bool enter);
    bool typeNext();
    void useRows(QWidget *window);
    void arrangeWindows();
    void closeWindow();
    QWidget *pickWindow();
    template<typename T>
    T *pickChild(QWidget *window, const std::function<bool(T *)> &usable = {});
    QString randomText();
    bool allowedTarget(QWidget *widget) const;
    int chance(int percent) { return int(m_random.bounded(100)) < percent; }
    template<typename T>
    const T &pick(const QList<T> &items) { return items[qsizetype(m_random.bounded(quint32(items.size())))]; }

    frmMain &m_main;
    StallWatchdog &m_watchdog;
    ExerciseOptions m_options;
    QString m_root;
    QRandomGenerator m_random;
    QElapsedTimer m_clock;      // since the end of start-up
    QElapsedTimer m_sinceStart; // since start()
    qint64 m_cpuAtStart = 0;
    Phase m_phase = Phase::Loading;
    int m_depth = 0;
    int m_actions = 0;
    std::deque<std::function<void()>> m_plan;
    std::deque<Keystroke> m_typing;
    QList<Expectation> m_expected;
    QList<ModalSeen> m_modals;
    QStringList m_kindsMissing;
    QSet<QString> m_kindsSeen;
    QString m_failure;
    bool m_finished = false;
    qint64 m_closingAt = -1;
    int m_saved = 0;
};
