// soak-peer: a loopback APRS-IS server for soak runs. Takes one client's
// login, then streams frames at a steady rate from a fixed population of
// stations: positions (one in ten of all frames with PHG), weather and
// status, a "#" comment every 20 s as real servers do. Prints how many
// frames it sent when the client leaves or the time is up.
//
//   soak-peer PORT [RATE=500] [STATIONS=50000] [SECONDS=300] [HOME_LAT=51.75] [HOME_LON=-1.25]
//
// PORT 0 listens on a free port and says which on its first line.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

QByteArray position(double degrees, bool longitude)
{
    const double a = std::abs(degrees);
    const int whole = int(a);
    const double minutes = (a - whole) * 60;
    const char hemisphere = longitude ? (degrees < 0 ? 'W' : 'E') : (degrees < 0 ? 'S' : 'N');
    return QByteArray::number(whole).rightJustified(longitude ? 3 : 2, '0')
           + QByteArray::number(minutes, 'f', 2).rightJustified(5, '0') + hemisphere;
}

struct Station
{
    QByteArray call;
    double lat, lon;
    bool weather;
};

class Peer : public QObject
{
public:
    Peer(quint16 port, int rate, int stations, int seconds, double homeLat, double homeLon)
        : m_rate(rate), m_seconds(seconds)
    {
        QRandomGenerator random(2026);
        m_stations.reserve(stations);
        for (int i = 0; i < stations; ++i) {
            Station s;
            s.call = "S" + QByteArray::number(i, 36).toUpper().rightJustified(5, '0') + "-" + QByteArray::number(i % 16);
            s.lat = homeLat - 1.5 + random.generateDouble() * 3;
            s.lon = homeLon - 2.5 + random.generateDouble() * 5;
            s.weather = i % 20 == 0;
            m_stations.append(s);
        }
        if (!m_server.listen(QHostAddress::LocalHost, port)) {
            std::fprintf(stderr, "soak-peer: cannot listen on %u\n", port);
            QCoreApplication::exit(2);
            return;
        }
        // Port 0 takes a free one; the caller reads which from the first line.
        if (port == 0) {
            std::printf("listening on %u\n", m_server.serverPort());
            std::fflush(stdout);
        }
        connect(&m_server, &QTcpServer::newConnection, this, &Peer::accept);
        connect(&m_tick, &QTimer::timeout, this, &Peer::send);
    }

private:
    void accept()
    {
        QTcpSocket *client = m_server.nextPendingConnection();
        if (m_client) {
            client->close();
            return;
        }
        m_client = client;
        m_client->write("# soak-peer 1.0\r\n");
        connect(m_client, &QTcpSocket::disconnected, this, [this] { finish("client left"); });
        m_clock.start();
        m_tick.start(10);
    }

    QByteArray frame(qint64 n)
    {
        Station &s = m_stations[int(m_random.bounded(m_stations.size()))];
        const QByteArray head = s.call + ">APRS,TCPIP*,qAC,SOAK:";
        const QByteArray where = position(s.lat, false) + "/" + position(s.lon, true);
        if (n % 10 == 0)  // one frame in ten carries PHG
            return head + "!" + where + "#PHG5130/soak";
        if (s.weather)
            return head + "@" + QByteArray::number(100000 + n % 100000).right(6) + "z" + position(s.lat, false)
                   + "/" + position(s.lon, true) + "_220/004g005t077r000p000P000h50b10132";
        if (n % 5 == 1)
            return head + ">Soak status " + QByteArray::number(n);
        return head + "=" + where + "-Soak station";
    }

    void send()
    {
        if (!m_client)
            return;
        const qint64 elapsed = m_clock.elapsed();
        if (elapsed >= qint64(m_seconds) * 1000) {
            finish("time is up");
            return;
        }
        // As many frames as the rate asks for by now, however the timer ran.
        const qint64 due = elapsed * m_rate / 1000;
        QByteArray batch;
        for (; m_sent < due; ++m_sent)
            batch += frame(m_sent) + "\r\n";
        if (elapsed / 20000 > m_comments) {
            m_comments = elapsed / 20000;
            batch += "# soak-peer keepalive\r\n";
        }
        m_client->write(batch);
    }

    void finish(const char *why)
    {
        if (m_finished)
            return;  // the client's leaving follows our own hang-up
        m_finished = true;
        m_tick.stop();
        std::printf("%lld frames sent in %.1f s (%s)\n", m_sent, m_clock.elapsed() / 1000.0, why);
        std::fflush(stdout);
        if (m_client) {
            m_client->flush();
            m_client->disconnectFromHost();
        }
        QCoreApplication::quit();
    }

    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QTimer m_tick;
    QElapsedTimer m_clock;
    QList<Station> m_stations;
    QRandomGenerator m_random{7};
    int m_rate;
    int m_seconds;
    qint64 m_sent = 0;
    qint64 m_comments = 0;
    bool m_finished = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 2) {
        std::fprintf(stderr, "usage: soak-peer PORT [RATE] [STATIONS] [SECONDS] [HOME_LAT] [HOME_LON]\n");
        return 2;
    }
    auto arg = [&](int i, double fallback) { return a.size() > i ? a[i].toDouble() : fallback; };
    Peer peer(quint16(a[1].toUInt()), int(arg(2, 500)), int(arg(3, 50000)), int(arg(4, 300)), arg(5, 51.75),
              arg(6, -1.25));
    return app.exec();
}
