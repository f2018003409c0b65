#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiSubWindow>

#include <clocale>

#include "FakeHost.h"
#include "IntakeDoubles.h"
#include "QtPrinters.h"
#include "core/SharedState.h"
#include "core/WindowRegistry.h"
#include "stations/subFunctions.h"

TEST(GetPathFromHeader, CutsThePathOutOfAMonitorHeader)
{
    const struct {
        const char *header;
        const char *path;
    } cases[] = {
        {"N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=56>:  ", "CLRMRE*,WIDE3-2 Port=1 "},
        {"N0CALL>APRS Port=1 <UI C Len=56>:", "APRS Port=1 "},
        {"N0CALL>APZ031,CLRMRE*,WIDE3-2:", ""},
        {"N0CALL", ""},
        {"", ""},
        {"<UI N0CALL>APRS,WIDE", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetPathFromHeader(QString::fromLatin1(c.header)), QString::fromLatin1(c.path)) << c.header;
}

TEST(FormatPosition, DegreesAreTruncatedAndMinutesRounded)
{
    const struct {
        double value;
        bool longitude;
        const char *text;
    } cases[] = {
        {2174.79, false, "36.14.79N"},
        {-5749.68, true, "095.49.68W"},
        {0, false, "00.00.00N"},
        {0, true, "000.00.00E"},
        {3059.7, false, "50.59.70N"},
        {3059.7f, false, "50.59.70N"},
        {-0.5, false, "00.00.50S"},
        {10799.99, true, "179.59.99E"},
        {-5400, false, "90.00.00S"},
        {5399.996, false, "90.00.00N"},  // minutes rounding to 60 carry into the degree
        {-3059.999, true, "051.00.00W"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatPosition(c.value, c.longitude), QString::fromLatin1(c.text)) << c.value;
}

TEST(FormatPosition, UsesAPointWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const QString text = FormatPosition(2174.79, false);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(before);
    EXPECT_EQ(text, "36.14.79N");
}

TEST(FormatPosition, NonsenseValuesGiveATextNotACrash)
{
    EXPECT_EQ(FormatPosition(std::numeric_limits<double>::quiet_NaN(), false), "00.00.00N");
    EXPECT_FALSE(FormatPosition(1e30, true).isEmpty());
}

TEST(GetDxCallsign, TakesTheWordAfterTheMarker)
{
    EXPECT_EQ(GetDxCallsign("DX: G4ABC 123 miles"), "G4ABC");
    EXPECT_EQ(GetDxCallsign("Best DX: W1AW"), "W1AW");
    EXPECT_EQ(GetDxCallsign("no spot"), "");
    EXPECT_EQ(GetDxCallsign("DX:"), "");
    EXPECT_EQ(GetDxCallsign("DX:G4ABC rest"), "4ABC");
}

TEST(LoadStationSymbol, ShowsTheHostSymbolOfAKnownStation)
{
    FakeHostApplication host;
    HostStationRecord record;
    record.callsign = "N0CALL";
    record.symbolTable = "/";
    record.symbolCode = "_";
    host.stations.insert(record.callsign, record);

    QLabel picture;
    picture.setText("old");
    EXPECT_TRUE(LoadStationSymbol("N0CALL", &picture, host));
    EXPECT_EQ(host.calls, QStringList({"lookUp(N0CALL)", "symbolPicture(/,_)"}));
    EXPECT_FALSE(picture.pixmap().isNull());
    EXPECT_TRUE(picture.text().isEmpty());

    EXPECT_FALSE(LoadStationSymbol("N9NONE", &picture, host));
    EXPECT_TRUE(picture.pixmap().isNull());
}

class ShowStationInfoTest : public ::testing::Test
{
protected:
    ShowStationInfoTest()
    {
        WindowRegistry::instance().clear();
        shared().currentStation.clear();
        setStationInfoHandler([this] { shownFor << shared().currentStation; });
    }
    ~ShowStationInfoTest() override
    {
        setStationInfoHandler({});
        WindowRegistry::instance().clear();
    }
    QStringList log;
    QStringList shownFor;
};

TEST_F(ShowStationInfoTest, RemembersTheSelectedStationOfTheMainList)
{
    LoggingStationList list(log, "main");
    WindowRegistry::setTag(&list, WindowTag::StationList);
    list.selected = "N0CALL-9";
    ShowStationInfo(&list);
    EXPECT_EQ(shared().currentStation, "N0CALL-9");
    EXPECT_EQ(shownFor, QStringList({"N0CALL-9"}));
}

TEST_F(ShowStationInfoTest, FindsTheListInsideItsSubwindow)
{
    QMdiSubWindow sub;
    auto *inner = new LoggingStationListOn<QWidget>(log, "main");
    WindowRegistry::setTag(inner, WindowTag::StationList);
    inner->selected = "G4ABC";
    sub.setWidget(inner);
    ShowStationInfo(&sub);
    EXPECT_EQ(shownFor, QStringList({"G4ABC"}));
}

TEST_F(ShowStationInfoTest, DoesNothingForOtherWindowsOrWithoutASelection)
{
    LoggingStationList loaded(log, "loaded");
    WindowRegistry::setTag(&loaded, WindowTag::LoadedStationList);
    loaded.selected = "N0CALL";
    ShowStationInfo(&loaded);
    ShowStationInfo(nullptr);

    LoggingStationList main(log, "main");
    WindowRegistry::setTag(&main, WindowTag::StationList);
    ShowStationInfo(&main);

    EXPECT_TRUE(shownFor.isEmpty());
    EXPECT_TRUE(shared().currentStation.isEmpty());
}

TEST_F(ShowStationInfoTest, WithoutAHandlerTheStationIsStillRemembered)
{
    setStationInfoHandler({});
    LoggingStationList list(log, "main");
    WindowRegistry::setTag(&list, WindowTag::StationList);
    list.selected = "N0CALL";
    ShowStationInfo(&list);
    EXPECT_EQ(shared().currentStation, "N0CALL");
}
