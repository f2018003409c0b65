#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>

#include "core/WindowInterfaces.h"
#include "statistics/StatisticsSampler.h"
#include "statistics/StatisticsSeries.h"

class QLabel;
class StatisticsChartView;

// The statistics window. The live one counts every frame the intake hands it
// and starts a new bar every "Sample" minutes, shown or hidden, until the
// program ends; its close box is gone. One opened from a statistics file
// shows that file's bars and never changes.
class frmStatistics : public QWidget, public StatisticsWindow
{
    Q_OBJECT
public:
    enum class Kind { Live, Saved };
    static inline const QString Caption = QStringLiteral("Statistics");

    explicit frmStatistics(Kind kind, QWidget *parent = nullptr);
    ~frmStatistics() override;

    // StatisticsWindow
    void UpdateStatitics() override;
    void SaveStatisticsData() override;
    void LoadStatisticsData(const QString &fileName) override;

    void AddStatisticsBar(const QDateTime &t, qint32 v);
    void UpdateLastBar();
    // The one-minute tick of the live window (Timer1 runs it).
    void Timer1_Timer();

    Kind kind() const { return m_kind; }
    const StatisticsSeries &series() const { return m_series; }
    // Null in a saved window.
    const StatisticsSampler *sampler() const { return m_sampler.get(); }
    int skippedLines() const { return m_skipped; }

    QTimer Timer1;
    StatisticsChartView *tcStats = nullptr;
    QLabel *lblStatus = nullptr;

private:
    void attachToFrame();
    void chartChanged();

    Kind m_kind;
    StatisticsSeries m_series;
    std::unique_ptr<StatisticsSampler> m_sampler;
    int m_skipped = 0;
};
