#pragma once

#include "satellites/OrbiterControl.h"

#include "orbiter/Scene.h"
#include "orbiter/Tracker.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

class QLabel;
class QStackedLayout;
class QTableView;

namespace orbiter {

class OrbiterCanvas;
class SatelliteTableModel;

// Kestrel's own satellite tracking control: the tracker behind the control
// roles, and its four views (a table, a world map, the observer's sky and a
// globe). While shown it keeps its views moving with the clock between the
// computations it is asked for.
class OrbiterView : public QWidget, public OrbiterControl
{
    Q_OBJECT
    // The settings a form stores for the control.
    Q_PROPERTY(int outputstyle READ displayStyle WRITE setDisplayStyle)
    Q_PROPERTY(bool displaysun READ showSun WRITE setShowSun)
    Q_PROPERTY(bool displaymoon READ showMoon WRITE setShowMoon)
    Q_PROPERTY(bool displaysunfootprint READ sunFootprint WRITE setSunFootprint)
    Q_PROPERTY(bool displaymoonfootprint READ moonFootprint WRITE setMoonFootprint)
    Q_PROPERTY(bool displaydatafields READ dataFields WRITE setDataFields)

public:
    explicit OrbiterView(QWidget *parent = nullptr);
    ~OrbiterView() override;

    // OrbiterControl
    void removeAllSatellites() override;
    void addSatelliteEntry() override;
    void setCurrentEntry(qint16 entry) override;
    void loadElementSet(const QString &name, const QString &line1, const QString &line2, qint16 entry,
                        qint32 reserved) override;
    void setIcons(bool on) override;
    void setDistanceInMiles(bool miles) override;
    bool icons() const override { return m_options.icons; }
    qint16 satelliteCount() const override { return qint16(m_tracker.count()); }
    void setComputationTime(qint16 century, qint16 year, qint16 month, qint16 day, qint16 hour, qint16 minute,
                            qint16 second) override;
    void computePosition() override;
    void computePass() override;
    float subSatelliteLongitude() const override;
    float subSatelliteLatitude() const override;
    qint32 elevation() const override;
    QDateTime nextPassTime() const override;
    QString satelliteName() const override;
    float furtherValue() const override;
    QString positionProblem() const override;
    void setDisplayStyle(qint32 style) override;
    qint32 displayStyle() const override { return m_style; }
    void setFolders(const QString &dataFolder, const QString &imageFolder) override;
    void setDisplayOn(bool on) override;
    void setObserverName(const QString &name) override;
    void setObserverLatitude(double degrees) override;
    void setObserverLongitude(double degrees) override;
    void setObserverHeight(double height) override;
    void setTimeZoneAdjust(qint16 adjust) override;
    void setTimeZoneName(const QString &name) override;
    void setDaylight(bool on) override;
    void setDaylightOffset(int hours) override;
    void setSecondLatitude(double degrees) override;
    void setSecondLongitude(double degrees) override;
    void setSecondHeight(double height) override;
    void setSecondName(const QString &name) override;
    void setSecondInUse(bool on) override;
    void applySettings() override;
    void setPlotLines(bool lines) override;
    void setShowMoon(bool on) override;
    void setShowSun(bool on) override;
    void setOrbitCount(int orbits) override;
    void setPlotInterval(int seconds) override;

    bool showSun() const { return m_options.showSun; }
    bool showMoon() const { return m_options.showMoon; }
    bool sunFootprint() const { return m_options.sunFootprint; }
    void setSunFootprint(bool on);
    bool moonFootprint() const { return m_options.moonFootprint; }
    void setMoonFootprint(bool on);
    bool dataFields() const { return m_options.dataFields; }
    void setDataFields(bool on);
    const DisplayOptions &options() const { return m_options; }

    // The satellite the views follow (tracker entry number).
    int selectedEntry() const { return m_selected; }
    void selectEntry(int entry);

    Tracker &tracker() { return m_tracker; }
    const Scene &scene() const { return m_scene; }
    QTableView *table() const { return m_table; }
    OrbiterCanvas *canvas() const { return m_canvas; }
    // The current view drawn into an image of that size.
    QImage grabView(const QSize &size);
    // Moves the views on to the clock's time; a timer calls it every second
    // while the control is shown.
    void followClock();

    QSize sizeHint() const override { return {760, 440}; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void refreshDisplay();
    // Hands the pass searches due to the thread pool.
    void searchElsewhere();
    const TrackedSatellite *currentSatellite() const;
    const SkyBody *currentBody() const;

    Tracker m_tracker;
    DisplayOptions m_options;
    ObserverSettings m_observer;
    ObserverSettings m_second;
    bool m_secondInUse = false;
    TimeZoneSettings m_zone;
    qint32 m_style = 0;
    bool m_displayOn = true;
    int m_current = 0;
    int m_selected = 1;
    QString m_dataFolder;
    QString m_imageFolder;

    // The computation time as last set, and the program clock then, so the
    // views can move on with the clock between computations.
    double m_setTime = 0;
    QDateTime m_clockAtSet;
    bool m_timeSet = false;
    QTimer m_live;

    Scene m_scene;
    QStackedLayout *m_pages = nullptr;
    QWidget *m_textPage = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_summary = nullptr;
    SatelliteTableModel *m_model = nullptr;
    OrbiterCanvas *m_canvas = nullptr;
    bool m_syncingSelection = false;
};

} // namespace orbiter
