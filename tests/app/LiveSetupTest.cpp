// The Station and Feeds windows on the real embedded host inside the real
// program: what the user types there takes effect without a restart.
#include "LiveProgramFixture.h"

#include "app/FirstStart.h"

#include "core/PrivateProfile.h"
#include "host/map/HostMapWindow.h"
#include "host/setup/FeedForm.h"
#include "host/setup/FeedsWindow.h"
#include "host/setup/StationWindow.h"
#include "stations/StationListModel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTreeWidget>

using Col = StationListModel::Column;

namespace {

const QString kNear = QStringLiteral("M0KDB>APKS01,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm");

template<typename T>
T *shownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
            return found;
    return nullptr;
}

void type(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
}

// An APRS-IS server on loopback that takes the login and answers with a frame.
class LoopbackAprsIs
{
public:
    LoopbackAprsIs()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket *client = m_server.nextPendingConnection();
            client->write("# aprsc test server\r\n");
            QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] {
                m_login += client->readAll();
                client->write("G4KDA>APKS01,TCPIP*,qAC,T2UK:!5145.67N/00115.71W-via the server\r\n");
            });
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray login() const { return m_login; }

private:
    QTcpServer m_server;
    QByteArray m_login;
};

} // namespace

TEST_F(LiveProgramTest, TheStationWindowMovesHomeAndTheListsDistancesFollowAtOnce)
{
    frmMain &m = start({kNear});
    play();
    ASSERT_GE(rowOf("M0KDB"), 0);
    const int before = cell("M0KDB", Col::Dist).toInt();

    host()->window()->stationAction()->trigger();
    auto *station = shownWindow<StationWindow>();
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->txtCallsign->text(), "G0HOM");
    EXPECT_EQ(station->lblBeacon->text(), "Beacon: off");

    // Refused where it was typed, with the reason, and nothing written.
    type(station->txtCallsign, "G0HOM-99");
    QTest::mouseClick(station->btnOk, Qt::LeftButton);
    EXPECT_TRUE(station->isVisible());
    EXPECT_TRUE(station->lblProblem->text().contains("not a callsign")) << station->lblProblem->text().toStdString();
    EXPECT_EQ(station->focusWidget(), station->txtCallsign) << "the refused field has the cursor";
    type(station->txtCallsign, "g4kda-9");
    type(station->txtPosition, "XX 123 456");
    QTest::mouseClick(station->btnOk, Qt::LeftButton);
    EXPECT_TRUE(station->isVisible()) << "a square off the grid is refused";
    EXPECT_FALSE(station->lblProblem->text().isEmpty());

    // Near Edinburgh: a few hundred miles from M0KDB instead of a few dozen.
    type(station->txtPosition, "NT 250 730");
    EXPECT_TRUE(station->lblPosition->text().contains("55.9")) << station->lblPosition->text().toStdString();
    type(station->txtInterval, "15");
    QTest::mouseClick(station->btnOk, Qt::LeftButton);
    EXPECT_FALSE(station->isVisible()) << station->lblProblem->text().toStdString();

    EXPECT_EQ(shared().home.callsign, "G4KDA-9");
    EXPECT_NEAR(shared().home.latitude / 60.0, 55.95, 0.05);
    const int after = cell("M0KDB", Col::Dist).toInt();
    EXPECT_GT(after, before + 200) << "the list measures from the new home at once";
    EXPECT_EQ(host()->ownCallsign(), "G4KDA-9");

    const QString ini = EmbeddedHost::stationIniPath(folder.path());
    EXPECT_EQ(PrivateProfile::readString(ini, "STATION", "CALLSIGN"), "G4KDA-9");
    EXPECT_TRUE(PrivateProfile::readString(ini, "STATION", "LATITUDE").startsWith("55"));
    EXPECT_EQ(PrivateProfile::readString(folder.path() + "/KestrelHost.ini", "Host", "BeaconInterval"), "15");
    EXPECT_EQ(PrivateProfile::readString(folder.path() + "/KestrelHost.ini", "Feed1", "File"), "Traffic.txt")
        << "the feeds are left as they were";

    // With an interval set, the window says plainly that a replay sends nothing.
    host()->window()->stationAction()->trigger();
    station = shownWindow<StationWindow>();
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->lblBeacon->text(), "Beacon: not sent (no feed transmits)");
    Q_UNUSED(m);
}

TEST_F(LiveProgramTest, AFeedAddedInTheFeedsWindowConnectsWithoutARestart)
{
    LoopbackAprsIs server;
    start({kNear});
    host()->window()->feedsAction()->trigger();
    auto *feeds = shownWindow<FeedsWindow>();
    ASSERT_NE(feeds, nullptr);
    ASSERT_EQ(feeds->lstFeeds->topLevelItemCount(), 1);
    EXPECT_EQ(feeds->form->txtFile->text(), "Traffic.txt") << "a file in the host folder shows as the file keeps it";

    QTest::mouseClick(feeds->btnAdd, Qt::LeftButton);
    FeedForm *form = feeds->form;
    form->cboType->setCurrentIndex(form->cboType->findData(int(FeedSettings::Type::AprsIs)));
    type(form->txtHost, "127.0.0.1");

    struct Refusal
    {
        QLineEdit *field;
        QString text;
        const char *says;
    };
    const Refusal refusals[] = {
        {form->txtPort, QStringLiteral("70000"), "not a port"},
        {form->txtPort, QStringLiteral("14S80"), "not a port"},
        {form->txtFilter, QStringLiteral("r/51.5/-1.2"), "r/lat/lon/km"},
        {form->txtFilter, QStringLiteral("x/51"), "common ones"},
        {form->txtCallsign, QStringLiteral("NOCALL!"), "not a callsign"},
    };
    for (const Refusal &r : refusals) {
        type(form->txtPort, QString::number(server.port()));
        type(form->txtFilter, QStringLiteral("m/50"));
        form->txtCallsign->clear();
        type(r.field, r.text);
        EXPECT_FALSE(feeds->apply()) << r.text.toStdString();
        EXPECT_TRUE(feeds->lblProblem->text().contains(QLatin1String(r.says))) << feeds->lblProblem->text().toStdString();
        EXPECT_EQ(feeds->focusWidget(), r.field) << r.text.toStdString();
        EXPECT_EQ(host()->config().feeds.size(), 1) << "nothing written";
    }

    type(form->txtPort, QString::number(server.port()));
    type(form->txtFilter, "r/51.5/-0.12/100 b/G4*");
    form->txtCallsign->clear();
    ASSERT_TRUE(feeds->apply()) << feeds->lblProblem->text().toStdString();
    ASSERT_EQ(host()->config().feeds.size(), 2);
    const QString added = host()->config().feeds[1].name;
    EXPECT_EQ(added, "Feed2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return feeds->stateOf(added) == QLatin1String("connected"); }, 5000))
        << feeds->stateOf(added).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf("G4KDA") >= 0; }, 5000)) << "frames flow into the list";
    EXPECT_TRUE(server.login().startsWith("user G0HOM ")) << server.login().constData();
    EXPECT_TRUE(server.login().contains("filter r/51.5/-0.12/100 b/G4*"));
    EXPECT_EQ(PrivateProfile::readString(folder.path() + "/KestrelHost.ini", added, "Type"), "aprs-is");

    // Disabled, it is listed still and stops.
    feeds->lstFeeds->setCurrentItem(feeds->lstFeeds->topLevelItem(1));
    QTest::mouseClick(feeds->btnEnable, Qt::LeftButton);
    EXPECT_EQ(host()->feed(added), nullptr);
    EXPECT_EQ(feeds->stateOf(added), "disabled");
    EXPECT_EQ(feeds->lstFeeds->topLevelItemCount(), 2);
    EXPECT_EQ(PrivateProfile::readString(folder.path() + "/KestrelHost.ini", added, "Enabled"), "0");
}

TEST_F(LiveProgramTest, AFeedThatCannotConnectSaysWhyInWords)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    start({kNear});
    FeedSettings tnc;
    tnc.type = FeedSettings::Type::Kiss;
    tnc.host = QStringLiteral("127.0.0.1");
    tnc.port = closedPort;
    QList<FeedSettings> feeds = host()->config().feeds;
    feeds.append(tnc);
    ASSERT_TRUE(host()->applyFeeds(feeds));
    host()->window()->feedsAction()->trigger();
    auto *window = shownWindow<FeedsWindow>();
    ASSERT_NE(window, nullptr);
    const QString expected = QStringLiteral("connection refused by 127.0.0.1:%1 \u2014 is the TNC running?").arg(closedPort);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->lstFeeds->topLevelItem(1)->text(FeedsWindow::LastError) == expected; }, 5000))
        << window->lstFeeds->topLevelItem(1)->text(FeedsWindow::LastError).toStdString();
    EXPECT_TRUE(window->stateOf("Feed2").startsWith("retry in ")) << window->stateOf("Feed2").toStdString();
}

TEST_F(LiveProgramTest, FromGpsInTheStationWindowTakesTheFixOfTheGpsdFeed)
{
    // A gpsd on loopback that reports one fix near Edinburgh to whoever connects.
    QTcpServer gpsd;
    ASSERT_TRUE(gpsd.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&gpsd, &QTcpServer::newConnection, [&gpsd] {
        QTcpSocket *client = gpsd.nextPendingConnection();
        client->write("{\"class\":\"VERSION\",\"release\":\"3.22\"}\n"
                      "{\"class\":\"TPV\",\"mode\":3,\"lat\":55.95,\"lon\":-3.19}\n");
    });
    start({kNear});
    host()->window()->stationAction()->trigger();
    auto *station = shownWindow<StationWindow>();
    ASSERT_NE(station, nullptr);
    EXPECT_FALSE(station->btnFromGps->isEnabled()) << "no fix yet";

    FeedSettings gps;
    gps.type = FeedSettings::Type::Gpsd;
    gps.host = QStringLiteral("127.0.0.1");
    gps.port = gpsd.serverPort();
    QList<FeedSettings> feeds = host()->config().feeds;
    feeds.append(gps);
    ASSERT_TRUE(host()->applyFeeds(feeds));
    ASSERT_TRUE(QTest::qWaitFor([&] { return station->btnFromGps->isEnabled(); }, 5000));

    type(station->txtPosition, "51.30.00N 000.07.50W");
    QTest::mouseClick(station->btnFromGps, Qt::LeftButton);
    EXPECT_TRUE(station->lblPosition->text().startsWith("55.95000, -3.19000")) << station->lblPosition->text().toStdString();
    QTest::mouseClick(station->btnOk, Qt::LeftButton);
    ASSERT_FALSE(station->isVisible()) << station->lblProblem->text().toStdString();
    const QString ini = EmbeddedHost::stationIniPath(folder.path());
    EXPECT_EQ(PrivateProfile::readString(ini, "STATION", "LATITUDE"), "5557.00N");
    EXPECT_EQ(PrivateProfile::readString(ini, "STATION", "LONGITUDE"), "00311.40W");
    EXPECT_NEAR(shared().home.latitude / 60.0, 55.95, 0.001);
}

namespace {

// The first start's feed goes to a loopback server, and back afterwards.
struct AprsIsServerFor
{
    explicit AprsIsServerFor(quint16 port) { FirstStart::setAprsIsServer(QStringLiteral("127.0.0.1"), port); }
    ~AprsIsServerFor() { FirstStart::setAprsIsServer(QStringLiteral("rotate.aprs2.net"), 14580); }
};

} // namespace

TEST_F(LiveProgramTest, AFirstStartOffersTheDemoOrYourOwnStation_YourOwnGetsAnAprsIsFeedRoundIt)
{
    LoopbackAprsIs server;
    const AprsIsServerFor loopback(server.port());
    store.values.remove(MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32"));  // no host folder anywhere
    prompts.chooseAnswers.enqueue(int(FirstStart::Course::OwnStation));
    main = std::make_unique<frmMain>(false);
    main->show();
    main->runLoadingSequence();
    ASSERT_EQ(prompts.chooseOffered, QList<QStringList>({FirstStart::Choices}));
    EXPECT_EQ(prompts.texts(), QStringList()) << "no error about the host folder or the element sets";
    const QString station = dirs.data() + QStringLiteral("/MyStation");
    EXPECT_EQ(config().hostFolder, station);
    EXPECT_EQ(store.value("Kestrel", "Paths", "UIVIEW32"), station) << "found again at the next start";
    ASSERT_NE(host(), nullptr);

    auto *window = shownWindow<StationWindow>();
    ASSERT_NE(window, nullptr) << "the Station window opens by itself";
    type(window->txtCallsign, "G0ABC");
    type(window->txtPosition, "SP 510 060");  // Oxford
    QTest::mouseClick(window->btnOk, Qt::LeftButton);
    ASSERT_FALSE(window->isVisible()) << window->lblProblem->text().toStdString();

    ASSERT_TRUE(QTest::qWaitFor([] { return shownWindow<FeedsWindow>() != nullptr; }, 5000));
    auto *feeds = shownWindow<FeedsWindow>();
    ASSERT_EQ(host()->config().feeds.size(), 1);
    const FeedSettings aprsIs = host()->config().feeds[0];
    EXPECT_EQ(aprsIs.type, FeedSettings::Type::AprsIs);
    EXPECT_EQ(aprsIs.filter, FirstStart::rangeFilter(shared().home.latitude / 60, shared().home.longitude / 60));
    EXPECT_TRUE(aprsIs.filter.startsWith("r/51.7")) << aprsIs.filter.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feeds->stateOf(aprsIs.name) == QLatin1String("connected"); }, 5000))
        << feeds->stateOf(aprsIs.name).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf("G4KDA") >= 0; }, 5000)) << "frames flow into the list";
    EXPECT_TRUE(server.login().startsWith("user G0ABC ")) << server.login().constData();
    EXPECT_TRUE(server.login().contains("filter " + aprsIs.filter.toLatin1()));
    EXPECT_EQ(PrivateProfile::readString(station + "/KestrelHost.ini", aprsIs.name, "Type"), "aprs-is");
    EXPECT_EQ(PrivateProfile::readString(EmbeddedHost::stationIniPath(station), "STATION", "CALLSIGN"), "G0ABC");
    EXPECT_EQ(prompts.texts(), QStringList());
}

TEST_F(LiveProgramTest, AFirstStartThatTriesTheDemoRunsOnTheDemoAtOnce)
{
    QFile::remove(GetDataFolder() + QStringLiteral("/Keps/Keps.txt"));  // the demo brings its own
    store.values.remove(MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32"));
    prompts.chooseAnswers.enqueue(int(FirstStart::Course::Demo));
    main = std::make_unique<frmMain>(false);
    main->show();
    main->runLoadingSequence();
    EXPECT_EQ(prompts.chooseOffered.size(), 1);
    EXPECT_EQ(prompts.texts(), QStringList());
    EXPECT_EQ(config().hostFolder, dirs.data() + QStringLiteral("/DemoHost"));
    ASSERT_NE(host(), nullptr);
    EXPECT_EQ(host()->ownCallsign(), "G0KST");
    EXPECT_EQ(shared().home.callsign, "G0KST");
    EXPECT_TRUE(QFile::exists(GetDataFolder() + QStringLiteral("/Keps/Keps.txt")));
    EXPECT_EQ(shownWindow<StationWindow>(), nullptr);
}

TEST_F(LiveProgramTest, AFirstStartLeftWithoutAFolderSaysWhereToSetOneAndReportsNoError)
{
    QFile::remove(GetDataFolder() + QStringLiteral("/Keps/Keps.txt"));
    store.values.remove(MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32"));
    bool optionsShown = false;
    providers().options = [&](QWidget *) { optionsShown = true; };  // closed without a folder
    main = std::make_unique<frmMain>(false);
    main->show();
    main->runLoadingSequence();  // the question is closed as well
    EXPECT_TRUE(optionsShown);
    ASSERT_EQ(prompts.texts().size(), 1) << prompts.texts().join(" | ").toStdString();
    EXPECT_TRUE(prompts.texts()[0].contains("General tab of Kestrel Options"));
    EXPECT_EQ(main->statusText(), "Ready...");
}
