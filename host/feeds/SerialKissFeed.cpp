#include "host/feeds/SerialKissFeed.h"

#include <QFileInfo>

#include <algorithm>

namespace {
constexpr int WatchMs = 1000;
}

SerialKissFeed::SerialKissFeed(const FeedSettings &settings, QObject *parent)
    : Feed(settings, parent)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &SerialKissFeed::openNow);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialKissFeed::readAvailable);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || !m_port.isOpen())
            return;
        if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError
            || error == QSerialPort::DeviceNotFoundError)
            lost(QStringLiteral("%1 went away \u2014 is the TNC plugged in and on?").arg(m_settings.device));
    });
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (m_port.isOpen() && !QFileInfo::exists(m_settings.device))
            lost(QStringLiteral("%1 went away \u2014 is the TNC plugged in and on?").arg(m_settings.device));
    });
}

QString SerialKissFeed::describe() const
{
    return HostConfig::typeName(m_settings.type) + u' ' + m_settings.device;
}

void SerialKissFeed::setRetryDelays(int firstMs, int maxMs)
{
    m_retry.set(firstMs, maxMs);
}

void SerialKissFeed::start()
{
    m_running = true;
    m_retry.reset();
    openNow();
}

void SerialKissFeed::stop()
{
    m_running = false;
    m_retryTimer.stop();
    m_watch.stop();
    if (m_port.isOpen())
        m_port.close();
    setState(QStringLiteral("Stopped"));
}

void SerialKissFeed::reconnectNow()
{
    stop();
    start();
}

void SerialKissFeed::openNow()
{
    if (!m_running)
        return;
    setState(QStringLiteral("Opening"));
    if (m_port.isOpen())
        m_port.close();
    m_port.setPortName(m_settings.device);
    m_port.setBaudRate(m_settings.baud);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = !QFileInfo::exists(m_settings.device)
                                   ? QStringLiteral("there is no %1 \u2014 is the TNC plugged in?").arg(m_settings.device)
                               : m_port.error() == QSerialPort::PermissionError
                                   ? QStringLiteral("%1 may not be opened \u2014 is your user in the dialout group?")
                                         .arg(m_settings.device)
                                   : QStringLiteral("%1: %2").arg(m_settings.device, m_port.errorString());
        lost(reason);
        return;
    }
    m_deframer.reset();
    m_retry.reset();
    m_watch.start(WatchMs);
    noteConnected();
    setState(QStringLiteral("Connected"));
    becameReady();
}

bool SerialKissFeed::writeFrame(const QString &line)
{
    QByteArray ax25;
    if (!m_port.isOpen() || !tnc2ToAx25(line, &ax25))
        return false;
    const QByteArray frame = kissEncode(ax25);
    return m_port.write(frame) == frame.size();
}

void SerialKissFeed::lost(const QString &reason)
{
    if (!m_running || m_retryTimer.isActive())
        return;
    m_watch.stop();
    if (m_port.isOpen())
        m_port.close();
    const int wait = m_retry.take();
    noteLost(reason, wait);
    setState(QStringLiteral("%1, retrying in %2 s").arg(reason).arg((wait + 999) / 1000));
    m_retryTimer.start(wait);
}

void SerialKissFeed::readAvailable()
{
    const QByteArray bytes = m_port.readAll();
    for (const QByteArray &frame : m_deframer.feed(bytes)) {
        QString line;
        if (ax25ToTnc2(frame, &line))
            deliverLine(line);
        else
            countRejected();
    }
}
