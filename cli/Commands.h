#pragma once

#include "cli/CliCommand.h"

// Each command lives in its own file; add it here and to the table in main.cpp.
int runTz(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runFrame(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runDecode(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runKel(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runPhg(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runLatLon(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runGrid(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runOs2ll(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runCallsign(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runMinutes(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runKeps(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runSgp4(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runSat(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runBand(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runPrefix(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runDxList(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runWx(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runWxFile(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runLogDetails(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runInstallDemo(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
int runStats(const QStringList &args, bool json, QTextStream &out, QTextStream &err);
