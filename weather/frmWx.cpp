#include "weather/frmWx.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/MainWindowPort.h"
#include "core/SharedState.h"
#include "core/WindowRegistry.h"
#include "weather/WxChartView.h"
#include "weather/WxDataFile.h"
#include "weather/WxDataStore.h"
#include "weather/frmWxToolbar.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QXYSeries>

namespace {

const QString kTemperatureTab = QStringLiteral("Temperature");
const QString kWindTab = QStringLiteral("Wind Speed");
const QString kPressureTab = QStringLiteral("Pressure");
const QString kRainTab = QStringLiteral("Rainfall");
const QString kDirectionTab = QStringLiteral("Wind Direction");
const QString kTemperatureC = QStringLiteral("Temperature °C");
const QString kTemperatureF = QStringLiteral("Temperature °F");
const QString kRainSeries = QStringLiteral("Rain");
const QString kDayForm = QStringLiteral("dd/MM/yyyy");
const QString kNoReports = QStringLiteral(" (no reports)");
const char *const kSuggestedName = "wxSuggestedName";

// Red, green, yellow and blue; green and yellow a shade deeper so they read on white.
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 200, 0);
const QColor kYellow(230, 200, 0);
const QColor kBlue(0, 0, 255);

QString sameFile(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

// The weather toolbar floats over the main window, or over this one without it.
QWidget *toolbarOwner(QWidget *fallback)
{
    QWidget *main = MainWindowPort::widget();
    return main ? main : fallback;
}

} // namespace

frmWx::frmWx(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmWx"));
    m_callsign = shared().currentStation;
    if (m_callsign.endsWith(u'*'))
        m_callsign.chop(1);
    if (!shared().currentWeatherFile.isEmpty()) {
        m_file = shared().currentWeatherFile;
        shared().currentWeatherFile.clear();
    } else {
        m_file = WxData::fileForCallsign(m_callsign);
    }
    m_selectedDay = Clock::instance().now().date().toString(kDayForm);

    findMainControls();
    buildCharts();
    UpdateChartRanges();
    resize(780, 500);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { bindToolbar(false); });
    connect(&WxDataStore::program(), &WxDataStore::reportStored, this, &frmWx::reportStored);
    if (config().wxToolbar) {
        frmWxToolbar::open(toolbarOwner(window()))->bind(TChartTemp);
    }
}

frmWx::~frmWx()
{
    // Unload: another weather window may already have taken the date list over.
    if (!anotherWeatherWindowActive()) {
        if (QComboBox *list = dateList()) {
            const QSignalBlocker quiet(list);
            list->clear();
        }
    }
    bool othersRemain = false;
    for (QObject *window : WindowRegistry::instance().tagged(WindowTag::WxStation))
        othersRemain = othersRemain || window != this;
    if (!othersRemain)
        frmWxToolbar::closeIfOpen();
}

void frmWx::buildCharts()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabWx"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    // Each value axis takes readings somewhat beyond any real one, in either
    // unit; only garbage from the air falls outside.
    TChartTemp = new WxChartView(QStringLiteral("TChartTemp"), kTemperatureTab);
    m_temperatureAxis = TChartTemp->addValueAxis(kTemperatureC, QStringLiteral("°C"), Qt::AlignLeft, -500, 500);
    m_humidityAxis =
        TChartTemp->addValueAxis(QStringLiteral("Humidity %"), QStringLiteral("%"), Qt::AlignRight, 0, 100);
    m_temperature = TChartTemp->addSeries(QStringLiteral("Temperature"), kRed, m_temperatureAxis, 1);
    m_dewPoint = TChartTemp->addSeries(QStringLiteral("Dew Point"), kGreen, m_temperatureAxis, 1);
    m_windChill = TChartTemp->addSeries(QStringLiteral("Wind Chill"), kYellow, m_temperatureAxis, 0);
    m_humidity = TChartTemp->addSeries(QStringLiteral("Humidity"), kBlue, m_humidityAxis, 0);

    tChartWind = new WxChartView(QStringLiteral("tChartWind"), kWindTab);
    m_windAxis =
        tChartWind->addValueAxis(QStringLiteral("Wind Speed mph"), QStringLiteral("mph"), Qt::AlignLeft, 0, 500);
    m_speed = tChartWind->addSeries(QStringLiteral("Wind Speed"), kRed, m_windAxis, 0);
    m_gust = tChartWind->addSeries(QStringLiteral("Gust"), kRed, m_windAxis, 0, false, Qt::DashLine);

    tChartPressure = new WxChartView(QStringLiteral("tChartPressure"), kPressureTab);
    m_pressureAxis =
        tChartPressure->addValueAxis(QStringLiteral("Pressure mb"), QStringLiteral("mb"), Qt::AlignLeft, 0, 2000);
    m_pressure = tChartPressure->addSeries(QStringLiteral("Pressure"), kRed, m_pressureAxis, 1);

    TChartRain = new WxChartView(QStringLiteral("TChartRain"), kRainTab);
    m_rainAxis =
        TChartRain->addValueAxis(QStringLiteral("Rain mm"), QStringLiteral("mm"), Qt::AlignLeft, 0, 10000);
    m_rain = TChartRain->addSeries(kRainSeries, kRed, m_rainAxis, 2);

    TChartWindDir = new WxChartView(QStringLiteral("TChartWindDir"), kDirectionTab);
    m_directionAxis = TChartWindDir->addValueAxis(QStringLiteral("Wind Direction °"), QStringLiteral("°"),
                                                   Qt::AlignLeft, 0, 360);
    WxChartView::setFixedTicks(m_directionAxis, 45);
    m_direction = TChartWindDir->addSeries(QStringLiteral("Wind Direction"), kRed, m_directionAxis, 0, true);
    TChartWindDir->setValueRange(m_directionAxis, false, 0, 360);

    m_tabs->addTab(TChartTemp, kTemperatureTab);
    m_tabs->addTab(tChartWind, kWindTab);
    m_tabs->addTab(tChartPressure, kPressureTab);
    m_tabs->addTab(TChartRain, kRainTab);
    m_tabs->addTab(TChartWindDir, kDirectionTab);
}

WxChartView *frmWx::chartOfTab(int index) const
{
    return qobject_cast<WxChartView *>(m_tabs->widget(index));
}

void frmWx::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_watchingFrame)
        return;
    m_watchingFrame = true;
    // The window factory puts the window in its frame around the first show.
    QTimer::singleShot(0, this, &frmWx::attachToFrame);
}

void frmWx::attachToFrame()
{
    m_frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!m_frame)
        return;
    m_area = m_frame->mdiArea();
    connect(m_frame, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                const bool was = before & Qt::WindowActive;
                const bool is = now & Qt::WindowActive;
                if (is && !was)
                    Form_Activate();
                else if (was && !is)
                    Form_Deactivate();
            });
    if (isActiveChild())
        Form_Activate();
}

bool frmWx::isActiveChild() const
{
    QMdiArea *area = m_frame ? m_frame->mdiArea() : nullptr;
    return area && area->activeSubWindow() == m_frame;
}

bool frmWx::anotherWeatherWindowActive() const
{
    QMdiSubWindow *active = m_area ? m_area->activeSubWindow() : nullptr;
    return active && active->widget() != this && qobject_cast<frmWx *>(active->widget());
}

void frmWx::findMainControls()
{
    // Held from here on: the main window may be gone before this window is.
    MainWindowPort *main = MainWindowPort::instance();
    if (!main)
        return;
    m_dateList = main->weatherDates();
    m_dateListTool = main->tool(MainTool::WxDates);
    m_displayTool = main->tool(MainTool::WXDisplay);
}

QComboBox *frmWx::dateList() const { return m_dateList; }

void frmWx::Form_Activate()
{
    if (config().wxToolbar)
        bindToolbar(true);
    UpdateChartRanges();
    LoadWxDates(m_callsign, true);
    SetWxDisplay();
}

void frmWx::Form_Deactivate()
{
    // When another weather window is already active, the list is its own.
    if (anotherWeatherWindowActive())
        return;
    LoadWxDates(m_callsign, false);
}

void frmWx::bindToolbar(bool show)
{
    if (!config().wxToolbar)
        return;
    // A tab change follows the chart; only activation brings a closed tool window back.
    frmWxToolbar *toolbar = show ? frmWxToolbar::open(toolbarOwner(window())) : frmWxToolbar::instance();
    if (toolbar)
        toolbar->bind(chartOfTab(m_tabs->currentIndex()));
}

void frmWx::LoadWxDates(const QString &callsign, bool show)
{
    QComboBox *list = dateList();
    QAction *listTool = m_dateListTool;
    if (!show) {
        if (list)
            list->setEnabled(false);
        if (listTool)
            listTool->setEnabled(false);
        return;
    }
    const QString file = callsign == m_callsign ? m_file : WxData::fileForCallsign(callsign);
    const QStringList days = file.isEmpty() ? QStringList() : WxDataFile(file).days();
    qsizetype remembered = -1;
    for (qsizetype i = 0; i < days.size() && remembered < 0; ++i)
        if (days[i].compare(m_selectedDay, Qt::CaseInsensitive) == 0)
            remembered = i;
    if (remembered < 0 && !days.isEmpty())
        remembered = 0;
    if (!list) {
        if (remembered >= 0)
            m_selectedDay = days[remembered];
        return;
    }
    if (listTool)
        listTool->setEnabled(true);
    list->setEnabled(true);
    if (m_displayTool)
        m_displayTool->setEnabled(false);
    const QSignalBlocker quiet(list);
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(days);
    list->setCurrentIndex(int(remembered));
    if (remembered < 0)
        list->setEditText(QString());
    list->setUpdatesEnabled(true);
}

void frmWx::SetWxDisplay()
{
    QComboBox *list = dateList();
    const QString day = list ? list->currentText() : m_selectedDay;
    if (day.isEmpty())
        return;
    showDay(day);
}

void frmWx::showDay(const QString &day)
{
    m_selectedDay = day;
    const QStringList values = m_file.isEmpty() ? QStringList() : WxDataFile(m_file).dayValues(day);
    m_day = buildWxDay(values, config().centigrade);

    TChartTemp->setPoints(m_temperature, m_day.temperature);
    TChartTemp->setPoints(m_dewPoint, m_day.dewPoint);
    TChartTemp->setPoints(m_windChill, m_day.windChill);
    TChartTemp->setPoints(m_humidity, m_day.humidity);
    tChartWind->setPoints(m_speed, m_day.speed);
    tChartWind->setPoints(m_gust, m_day.gust);
    TChartWindDir->setPoints(m_direction, m_day.direction);
    tChartPressure->setPoints(m_pressure, m_day.pressure);
    TChartRain->setPoints(m_rain, m_day.rain);
    m_rain->setName(m_day.rainLabel.isEmpty() ? kRainSeries : m_day.rainLabel);

    const QString suffix = QStringLiteral("  ") + day + (values.isEmpty() ? kNoReports : QString());
    for (int i = 0; i < m_tabs->count(); ++i) {
        WxChartView *chart = chartOfTab(i);
        chart->chart()->setTitle(m_tabs->tabText(i) + suffix);
        chart->refitAutoRanges();
    }
    nameCharts();
}

void frmWx::nameCharts()
{
    QString day = m_selectedDay;
    day.replace(u'/', u'-').replace(u'\\', u'-');
    for (int i = 0; i < m_tabs->count(); ++i)
        chartOfTab(i)->setProperty(kSuggestedName, m_callsign + u' ' + m_tabs->tabText(i) + u' ' + day
                                                       + QStringLiteral(".png"));
}

void frmWx::UpdateChartRanges()
{
    const Configuration &c = config();
    const QString unit = c.centigrade ? QStringLiteral("°C") : QStringLiteral("°F");
    m_temperatureAxis->setTitleText(c.centigrade ? kTemperatureC : kTemperatureF);
    for (QXYSeries *series : {m_temperature, m_dewPoint, m_windChill})
        series->setProperty("wxUnit", unit);
    TChartTemp->setValueRange(m_temperatureAxis, c.tempAuto, c.tempMin, c.tempMax);
    TChartTemp->setValueRange(m_humidityAxis, c.humidityAuto, c.humidityMin, c.humidityMax);
    TChartRain->setValueRange(m_rainAxis, c.rainAuto, c.rainMin, c.rainMax);
    tChartPressure->setValueRange(m_pressureAxis, c.pressureAuto, c.pressMin, c.pressMax);
    tChartWind->setValueRange(m_windAxis, c.windAuto, c.windMin, c.windMax);
}

void frmWx::reportStored(const QString &file, const QString &day)
{
    if (m_file.isEmpty() || sameFile(file) != sameFile(m_file))
        return;
    if (isActiveChild()) {
        QComboBox *list = dateList();
        if (list && list->findText(day, Qt::MatchFixedString) < 0)
            LoadWxDates(m_callsign, true);
    }
    if (day.compare(m_selectedDay, Qt::CaseInsensitive) == 0)
        showDay(m_selectedDay);
}
