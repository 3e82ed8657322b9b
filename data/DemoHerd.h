#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// A made-up herd for the demonstration farm, the tests and the benchmarks. Everything is drawn
// from one seeded generator: the same seed and the same day give the same rows.
namespace farm {

struct HerdOptions
{
    int cows = 300;
    quint32 seed = 1;
    // The day the figures are counted to (ages, days since calving, record dates); an invalid
    // date means the program clock's today.
    QDate today;
};

// Fills the suite's tables made by createSuiteObjects (which must be empty): the cows with their
// status figures, the comment lists of veterinarians and of reasons for leaving a protocol, and
// the settings that name those lists. One transaction.
bool generateHerd(QSqlDatabase db, const HerdOptions& options, QString* error = nullptr);

// A new SQLite farm file holding the suite's objects and a generated herd (an existing file is
// replaced): the demo's and the tests' farm before the tool is installed.
bool createFarmFile(const QString& path, const HerdOptions& options, QString* error = nullptr);

// Adds `count` enrolments to P_Work over the protocols in P_ProtocolDesign, for the female cows
// of the herd: a share of them open (at most one per cow, never for a cow that already has an
// open one, at a level reached by following the design from its first level and started a
// few days ago; POutDate empty, NULL, or blanks only as older data holds), the rest closed
// (at the last level or earlier, with a date and reason of leaving). The day is the program
// clock's today. Needs the protocols and the tool's tables; one transaction.
bool generateEnrolments(QSqlDatabase db, int count, quint32 seed, QString* error = nullptr);

} // namespace farm
