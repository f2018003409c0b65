#pragma once

#include <QPointer>
#include <QWidget>

#include "core/WindowInterfaces.h"
#include "weather/WxDay.h"

class QAction;
class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QTabWidget;
class QValueAxis;
class QXYSeries;
class WxChartView;

// The weather window: one station's reports for one day as five charts on
// tabs. The day comes from the main toolbar's date list, which this window
// fills while it is active.
class frmWx : public QWidget, public WeatherWindow
{
    Q_OBJECT
public:
    // Takes the station from the shared current station, and its file from
    // the shared current weather file when one was opened from disk.
    explicit frmWx(QWidget *parent = nullptr);
    ~frmWx() override;

    // Redraws every chart for the day in the date list.
    void SetWxDisplay() override;
    // Axis titles and ranges from the options.
    void UpdateChartRanges() override;
    // show: fill the date list from the file and select this window's day;
    // otherwise disable the list.
    void LoadWxDates(const QString &callsign, bool show);

    // Charts that day, whatever the date list says.
    void showDay(const QString &day);

    void Form_Activate();
    void Form_Deactivate();

    QString callsign() const { return m_callsign; }
    QString fileName() const { return m_file; }
    QString selectedDay() const { return m_selectedDay; }
    // The last day drawn.
    const WxDay &day() const { return m_day; }

    QTabWidget *tabs() const { return m_tabs; }
    WxChartView *chartOfTab(int index) const;
    WxChartView *temperatureChart() const { return TChartTemp; }
    WxChartView *windChart() const { return tChartWind; }
    WxChartView *pressureChart() const { return tChartPressure; }
    WxChartView *rainChart() const { return TChartRain; }
    WxChartView *windDirectionChart() const { return TChartWindDir; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildCharts();
    void attachToFrame();
    void bindToolbar(bool show);
    void reportStored(const QString &file, const QString &day);
    void nameCharts();
    bool isActiveChild() const;
    bool anotherWeatherWindowActive() const;
    void findMainControls();
    QComboBox *dateList() const;

    QString m_callsign;
    QString m_file;
    QString m_selectedDay;
    WxDay m_day;
    bool m_watchingFrame = false;
    QPointer<QMdiSubWindow> m_frame;
    QPointer<QMdiArea> m_area;
    QPointer<QComboBox> m_dateList;
    QPointer<QAction> m_dateListTool;
    QPointer<QAction> m_displayTool;

    QTabWidget *m_tabs = nullptr;
    WxChartView *TChartTemp = nullptr;
    WxChartView *tChartWind = nullptr;
    WxChartView *tChartPressure = nullptr;
    WxChartView *TChartRain = nullptr;
    WxChartView *TChartWindDir = nullptr;

    QValueAxis *m_temperatureAxis = nullptr;
    QValueAxis *m_humidityAxis = nullptr;
    QValueAxis *m_windAxis = nullptr;
    QValueAxis *m_directionAxis = nullptr;
    QValueAxis *m_pressureAxis = nullptr;
    QValueAxis *m_rainAxis = nullptr;

    QXYSeries *m_temperature = nullptr;
    QXYSeries *m_dewPoint = nullptr;
    QXYSeries *m_windChill = nullptr;
    QXYSeries *m_humidity = nullptr;
    QXYSeries *m_speed = nullptr;
    QXYSeries *m_gust = nullptr;
    QXYSeries *m_direction = nullptr;
    QXYSeries *m_pressure = nullptr;
    QXYSeries *m_rain = nullptr;
};
