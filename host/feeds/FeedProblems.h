#pragma once

#include "host/HostConfig.h"

#include <QAbstractSocket>
#include <QString>

// What a feed says when it cannot connect, in words a user understands:
// "connection refused by 127.0.0.1:8001 — is the TNC running?".
QString explainSocketError(QAbstractSocket::SocketError error, const FeedSettings &feed,
                           const QString &systemText);

// Checks an APRS-IS server filter ("r/51.5/-1.2/100 b/G4*"): empty when it
// is one the servers take, else what is wrong with the first bad part.
QString checkAprsIsFilter(const QString &filter);
