// The DX window's spots: intake, notification, expiry, the map, the prefix
// database and the DX list file.
#include "dx/frmDx.h"

#include "core/Units.h"

#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/LineText.h"
#include "core/LoadingDialog.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/SharedState.h"
#include "core/Units.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "dx/DxListFile.h"
#include "dx/DxRows.h"
#include "dx/DxTabStrip.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QTreeView>

#include <exception>

namespace {

const QString kIgnoredStart = QStringLiteral("Spot ignored as ");
const QString kIgnoredEnd = QStringLiteral(" is disabled");
const QString kLoadingCaption = QStringLiteral("Loading DX Prefix Details");
const QString kSaveTitle = QStringLiteral("Save DX List As");
const QString kSaveFilter = QStringLiteral("Kestrel DX List (*.ked);;All Files (*.*)");
constexpr int kProgressSteps = 1000;
constexpr int kRepaintInterval = 40;  // ms

} // namespace

HostApplication *frmDx::host()
{
    return shared().host;
}

void frmDx::AddDxSpot(const QString &strDxSpot, const QString &strCallsign, const QString &strFreq, qint16 intLat,
                      qint16 intLong, qint16 intBearing, qint16 intDistance)
{
    try {
        const SpotOutcome outcome =
            m_monitor.addSpot(strDxSpot, strCallsign, strFreq, intLat, intLong, intBearing, intDistance,
                              Clock::instance().now(), chkAllowSpotNotification->isChecked());
        if (outcome.ignored) {
            if (auto *terminal = WindowRegistry::instance().first<TerminalWindow>())
                terminal->UpdateEventLog(kIgnoredStart + outcome.band + kIgnoredEnd, 1, QString());
            return;
        }
        // A band added in the options after loading gets its tab with its first spot.
        const int tab = ensureBandTab(outcome.band);
        SSActiveTabs1->setTabVisible(tab, true);
        if (chkIndicate->isChecked())
            SSActiveTabs1->setTabMark(tab, 1);
        if (outcome.notified) {
            appendNotified(outcome.notifiedSpot);
            SSActiveTabs1->setTabMark(tabIndex(NotifiedTab), 2);
        }
        setTotal();
        // The tab the station arrived on, or the one a re-spot took it from.
        const int shown = SSActiveTabs1->currentIndex();
        const DxStations *spot = m_monitor.spots().find(strCallsign, outcome.spotter);
        if ((shown == tab || (!outcome.previousBand.isEmpty() && shown == tabIndex(outcome.previousBand)))
            && !showSpotInPlace(outcome, spot))
            queueRefresh();
        // The other spots are on the map already; only this one moved or arrived.
        if (chkPlot->isChecked() && spot)
            placeOnMap(*spot);
    } catch (const std::exception &e) {
        reportError(QStringLiteral("AddDxSpot"), QString::fromLocal8Bit(e.what()));
    }
}

void frmDx::PlotDxOnMap()
{
    if (!chkPlot->isChecked())
        return;
    for (const DxStations &spot : m_monitor.spots().records())
        placeOnMap(spot);
}

void frmDx::plotToggled(bool on)
{
    config().dxPlot = on;
    HostApplication *h = host();
    if (!h)
        return;
    if (on) {
        PlotDxOnMap();
        return;
    }
    // Unticked: the spots leave the map, as they came.
    QSet<QString> removed;
    for (const DxStations &spot : m_monitor.spots().records())
        if (!removed.contains(spot.Callsign)) {
            removed.insert(spot.Callsign);
            h->removePlacedObject(spot.Callsign);
        }
}

void frmDx::placeOnMap(const DxStations &spot)
{
    HostApplication *h = host();
    HostMap *map = h ? h->map() : nullptr;
    if (map)
        map->placeNamedSymbol(spot.Callsign, float(spot.Longitude) * 60.0f, float(spot.Latitude) * 60.0f);
}

void frmDx::removeFromMap(const QList<DxStations> &expired)
{
    HostApplication *h = host();
    if (!h)
        return;
    // A station still spotted by someone else keeps its symbol.
    QSet<QString> removed;
    for (const DxStations &spot : expired)
        if (!m_monitor.spots().hasCallsign(spot.Callsign) && !removed.contains(spot.Callsign)) {
            removed.insert(spot.Callsign);
            h->removePlacedObject(spot.Callsign);
        }
}

void frmDx::Timer1_Timer()
{
    const int minutes = config().dxExpire;
    if (minutes <= 0)
        return;
    try {
        const QList<DxStations> expired = m_monitor.spots().expire(Clock::instance().now(), minutes);
        if (expired.isEmpty())
            return;
        for (int i = 2; i < SSActiveTabs1->count(); ++i) {
            if (m_monitor.spots().countInBand(SSActiveTabs1->tabText(i)) > 0)
                continue;
            // An emptied band tab that is being looked at gives way to Settings
            // and stays until a later pass finds another tab selected.
            if (SSActiveTabs1->currentIndex() == i)
                SSActiveTabs1->setCurrentIndex(0);
            if (SSActiveTabs1->currentIndex() != 0)
                SSActiveTabs1->setTabVisible(i, false);
        }
        setTotal();
        ShowTab(SSActiveTabs1->currentIndex());
        removeFromMap(expired);
        PlotDxOnMap();
    } catch (const std::exception &e) {
        reportError(QStringLiteral("Timer1_Timer"), QString::fromLocal8Bit(e.what()));
    }
}

void frmDx::appendNotified(const NotifiedSpot &spot)
{
    m_notifiedSpots.append(spot);
    const bool dropOldest = m_notifiedSpots.size() > KeptNotifiedLines;
    if (dropOldest)
        m_notifiedSpots.removeFirst();
    const QString line = DxRows::notifiedLine(spot);
    if (!txtSpottedDX->isVisible() || m_notifiedStale) {
        m_notifiedStale = true;
        return;
    }
    QTextDocument *document = txtSpottedDX->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line + u'\n');
    if (!dropOldest)
        return;
    // The oldest line is the one after the heading.
    const QTextBlock oldest = document->findBlockByNumber(
        m_notifiedHeading.isEmpty() ? 0 : int(m_notifiedHeading.count(u'\n')) + 1);
    QTextCursor remove(oldest);
    remove.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    remove.removeSelectedText();
}

void frmDx::unitsChanged()
{
    const bool miles = config().miles;
    if (miles == m_distanceInMiles)
        return;
    m_monitor.spots().rescaleDistances(m_distanceInMiles, miles);
    for (NotifiedSpot &spot : m_notifiedSpots)
        spot.distance = Units::convertWholeDistance(spot.distance, m_distanceInMiles, miles);
    m_distanceInMiles = miles;
    if (!m_notifiedHeading.isEmpty())
        m_notifiedHeading = DxRows::notifiedHeading() + u'\n' + DxRows::notifiedUnits(miles);
    m_notifiedStale = true;
    if (txtSpottedDX->isVisible())
        showNotifiedBox();
    queueRefresh();
    // What is not shown now is set again when it is.
    m_spotsStale = true;
}

void frmDx::queueRefresh()
{
    m_spotsStale = true;
    // A burst of spots redraws the tab once, when the burst is over.
    if (!isVisible() || m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        if (m_spotsStale && isVisible())
            ShowTab(SSActiveTabs1->currentIndex());
    });
}

void frmDx::showNotifiedBox()
{
    txtSpottedDX->setPlainText(notifiedText());
    m_notifiedStale = false;
}

QString frmDx::notifiedText() const
{
    QString text;
    if (!m_notifiedHeading.isEmpty())
        text += m_notifiedHeading + u'\n';
    for (const NotifiedSpot &spot : m_notifiedSpots)
        text += DxRows::notifiedLine(spot) + u'\n';
    return text;
}

void frmDx::LoadDxSpots()
{
    if (m_loadingPrefixes)
        return;
    SSActiveTabs1->setCurrentIndex(0);
    SSActiveTabs1->setTabVisible(tabIndex(NotifiedTab), true);

    const QString path = config().hostFolder + u'/' + PrefixFile::FileName;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportError(QStringLiteral("LoadDxSpots"),
                    PrefixFile::FileName + QStringLiteral(" could not be opened in the host folder (") + path
                        + QStringLiteral(": ") + file.errorString()
                        + QStringLiteral("). Spot notification stays off."));
        chkAllowSpotNotification->setChecked(false);  // clears what was shown
        return;
    }

    m_loadingPrefixes = true;
    m_monitor.clearPrefixes();
    QPointer<frmDx> self(this);
    QPointer<LoadingDialog> dialog = new LoadingDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setWindowTitle(kLoadingCaption);
    dialog->setLabel(QDir::toNativeSeparators(path));
    dialog->setRange(kProgressSteps);
    dialog->setCancelEnabled(true);
    dialog->start();

    const qint64 size = std::max<qint64>(file.size(), 1);
    const bool tickAll = config().dxAllCalls;
    int malformed = 0;
    int shownProgress = -1;
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    LineReader lines(file);
    while (!lines.atEnd()) {
        if (m_monitor.addPrefixLine(lines.next(), tickAll) == PrefixFile::LineKind::Malformed)
            ++malformed;
        // Pending events run after every line; the bar is repainted a few
        // times a second, which is what costs.
        const int progress = int(lines.position() * kProgressSteps / size);
        if (dialog && progress != shownProgress && sinceRepaint.elapsed() >= kRepaintInterval) {
            shownProgress = progress;
            sinceRepaint.restart();
            dialog->step(progress);
        } else {
            QCoreApplication::processEvents();
        }
        // The program may be closing under us while events run.
        if (!self)
            return;
        if (!dialog || dialog->cancelled() || !chkAllowSpotNotification->isChecked()) {
            m_loadingPrefixes = false;
            if (dialog)
                dialog->finish();
            chkAllowSpotNotification->setChecked(false);
            ClearDxSpots();
            return;
        }
    }
    if (!tickAll)
        restoreTicks();
    m_loadingPrefixes = false;
    lstMonitor->show();
    m_notifiedHeading = DxRows::notifiedHeading() + u'\n' + DxRows::notifiedUnits(m_distanceInMiles);
    m_notifiedSpots.clear();
    showNotifiedBox();
    if (dialog)
        dialog->finish();
    QStringList problems;
    if (malformed > 0)
        problems << QStringLiteral("%1 lines with fewer than seven fields were skipped").arg(malformed);
    if (!m_monitor.prefixIndexComplete())
        problems << QStringLiteral("only the first %1 prefixes were kept").arg(PrefixIndex::Capacity);
    if (!problems.isEmpty())
        reportError(QStringLiteral("LoadDxSpots"), PrefixFile::FileName + QStringLiteral(": ")
                                                       + problems.join(QStringLiteral("; ")) + u'.');
}

// Field 1 of a prefix line never holds a colon: the file splits on them.
void frmDx::rememberTicks()
{
    const PrefixListModel &list = m_monitor.prefixList();
    QStringList ticked;
    for (int row = 0; row < list.rowCount(); ++row)
        if (list.isTicked(row) && !ticked.contains(list.line(row).prefixes()))
            ticked << list.line(row).prefixes();
    SettingsStore::instance().write(AppInfo::Title, NotifiedSection, NotifiedKey, ticked.join(u':'));
}

void frmDx::restoreTicks()
{
    const QStringList kept = SettingsStore::instance()
                                 .value(AppInfo::Title, NotifiedSection, NotifiedKey)
                                 .split(u':', Qt::SkipEmptyParts);
    if (kept.isEmpty())
        return;
    const QSet<QString> wanted(kept.begin(), kept.end());
    PrefixListModel &list = m_monitor.prefixList();
    for (int row = 0; row < list.rowCount(); ++row)
        if (wanted.contains(list.line(row).prefixes()))
            list.setTicked(row, true);
}

void frmDx::ClearDxSpots()
{
    lstMonitor->hide();
    m_monitor.clearPrefixes();
    m_notifiedHeading.clear();
    m_notifiedSpots.clear();
    showNotifiedBox();
    SSActiveTabs1->setCurrentIndex(0);
    const int notified = tabIndex(NotifiedTab);
    if (SSActiveTabs1->isTabVisible(notified))
        SSActiveTabs1->setTabVisible(notified, false);
}

void frmDx::SaveDxList()
{
    QString path = Prompts::instance().saveFileName(kSaveTitle, GetDataFolder(), kSaveFilter, QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + DxListFile::Extension;
    QString error;
    if (!DxListFile::write(path, m_monitor.spots().records(), &error))
        reportError(QStringLiteral("SaveDxList"), path + QStringLiteral(" could not be written: ") + error);
}
