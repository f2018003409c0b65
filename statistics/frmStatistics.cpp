#include "statistics/frmStatistics.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/Prompts.h"
#include "statistics/StatisticsChart.h"
#include "statistics/StatisticsFile.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace {

const QString kSaveTitle = QStringLiteral("Save Station List As");
const QString kSaveFilter = QStringLiteral("Kestrel Statistics dara (*.kes);;All Files (*.*)");
const QString kExtension = QStringLiteral(".kes");
constexpr int kTickMs = 60000;

} // namespace

frmStatistics::frmStatistics(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_series(StatisticsThresholds::configured())
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(Caption);

    tcStats = new StatisticsChartView(m_series, this);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setContentsMargins(6, 2, 6, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tcStats, 1);
    layout->addWidget(lblStatus);
    resize(640, 360);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kTickMs);
    connect(&Timer1, &QTimer::timeout, this, &frmStatistics::Timer1_Timer);
    if (m_kind == Kind::Live) {
        m_sampler = std::make_unique<StatisticsSampler>(m_series, config().statisticsSample);
        m_sampler->start(Clock::instance().now());
        tcStats->setLastInProgress(true);
        Timer1.start();
        // The window factory puts the window in its frame after this returns.
        QTimer::singleShot(0, this, &frmStatistics::attachToFrame);
    }
    chartChanged();
}

frmStatistics::~frmStatistics() = default;

void frmStatistics::attachToFrame()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub)
        return;
    // The live window lasts as long as the program: no close box, no Close
    // in the window menu (a sub-window draws both together).
    const bool visible = sub->isVisible();
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                        | Qt::WindowMinMaxButtonsHint);
    if (QMenu *menu = sub->systemMenu())
        for (QAction *action : menu->actions())
            if (action->text().remove(u'&').startsWith(QLatin1String("Close"))) {
                action->setEnabled(false);
                action->setVisible(false);
            }
    if (visible)
        sub->show();
}

void frmStatistics::UpdateStatitics()
{
    // A saved window is never fed; should one be, it stays as its file was.
    if (m_sampler)
        m_sampler->UpdateStatitics();
}

void frmStatistics::AddStatisticsBar(const QDateTime &t, qint32 v)
{
    m_series.setThresholds(StatisticsThresholds::configured());
    m_series.AddStatisticsBar(t, v);
    chartChanged();
}

void frmStatistics::UpdateLastBar()
{
    if (!m_sampler)
        return;
    m_series.setThresholds(StatisticsThresholds::configured());
    m_sampler->UpdateLastBar();
    chartChanged();
}

void frmStatistics::Timer1_Timer()
{
    if (!m_sampler)
        return;
    // The options dialog may have changed the period and the levels since the last tick.
    m_sampler->setSampleMinutes(config().statisticsSample);
    m_series.setThresholds(StatisticsThresholds::configured());
    m_sampler->tick(Clock::instance().now());
    chartChanged();
}

void frmStatistics::chartChanged()
{
    tcStats->refresh();
    if (m_sampler) {
        const qint16 minutes = m_sampler->sampleMinutes();
        lblStatus->setText((minutes == 1 ? QStringLiteral("A bar every minute") : QStringLiteral("A bar every %1 minutes").arg(minutes))
                           + QStringLiteral("; the last one began at ")
                           + m_sampler->sampleStart().toString(QStringLiteral("HH:mm:ss")));
        return;
    }
    QString text = m_series.count() == 1 ? QStringLiteral("1 bar") : QStringLiteral("%1 bars").arg(m_series.count());
    if (m_skipped == 1)
        text += QStringLiteral("; 1 line of the file could not be read");
    else if (m_skipped > 1)
        text += QStringLiteral("; %1 lines of the file could not be read").arg(m_skipped);
    lblStatus->setText(text);
}

void frmStatistics::SaveStatisticsData()
{
    QString path = Prompts::instance().saveFileName(kSaveTitle, StatisticsFile::folder(), kSaveFilter, QString());
    if (path.isEmpty())
        return;
    // A name typed without an extension gets the one the open command knows.
    if (QFileInfo(path).suffix().isEmpty())
        path += kExtension;
    QString error;
    if (!StatisticsFile::save(path, m_series.bars(), &error))
        reportError(QStringLiteral("SaveStatisticsData"), error);
}

void frmStatistics::LoadStatisticsData(const QString &fileName)
{
    Timer1.stop();
    StatisticsFile::Loaded loaded{StatisticsSeries(m_series.thresholds())};
    QString error;
    if (!StatisticsFile::load(fileName, loaded, &error)) {
        reportError(QStringLiteral("LoadStatisticsData"), error);
        return;
    }
    m_sampler.reset();
    tcStats->setLastInProgress(false);
    m_kind = Kind::Saved;
    m_series = loaded.series;
    m_skipped = loaded.skipped;
    chartChanged();
}
