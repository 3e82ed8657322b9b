// Builds an SQLite farm database: the suite's objects with a generated herd, optionally the
// tool's objects from setup scripts, generated enrolments, and their due dates and days in
// treatment.
//
//   makefarm --out FILE --cows N [--seed S] [--today YYYY-MM-DD]
//            [--install SCRIPT [--extra SCRIPT2]] [--enrolments M]
//
// The scripts are the UTF-8 files of the repository, run with the generator's own splitter.

#include "calendar/Clock.h"
#include "calendar/SolarDate.h"
#include "data/DemoHerd.h"
#include "data/FarmSchema.h"
#include "data/SqliteProcedures.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "makefarm: %s\n", qPrintable(message));
    return 1;
}

bool wholeNumber(const QString& text, int min, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= min;
}

// One line per step on standard output, with the time it took.
void report(const char* step, QElapsedTimer& timer)
{
    std::printf("makefarm: %s: %.3f s\n", step, timer.restart() / 1000.0);
}

int build(const QCommandLineParser& parser)
{
    int cows = 0;
    int enrolments = 0;
    int seedValue = 1;
    if (!wholeNumber(parser.value(QStringLiteral("cows")), 1, &cows))
        return fail(QStringLiteral("--cows needs a number above 0"));
    if (parser.isSet(QStringLiteral("seed")) &&
        !wholeNumber(parser.value(QStringLiteral("seed")), 0, &seedValue))
        return fail(QStringLiteral("--seed needs a whole number"));
    if (parser.isSet(QStringLiteral("enrolments")) &&
        !wholeNumber(parser.value(QStringLiteral("enrolments")), 0, &enrolments))
        return fail(QStringLiteral("--enrolments needs a whole number"));
    const bool install = parser.isSet(QStringLiteral("install"));
    if (!install && (parser.isSet(QStringLiteral("extra")) || enrolments > 0))
        return fail(QStringLiteral("--extra and --enrolments need the tool's objects from --install"));
    if (parser.isSet(QStringLiteral("today"))) {
        const QDate today = QDate::fromString(parser.value(QStringLiteral("today")), Qt::ISODate);
        if (!today.isValid())
            return fail(QStringLiteral("--today needs a date YYYY-MM-DD"));
        appclock::setToday(today);
    }
    const auto seed = quint32(seedValue);

    const QString file = parser.value(QStringLiteral("out"));
    if (QFile::exists(file) && !QFile::remove(file))
        return fail(QStringLiteral("cannot replace ") + file);

    QElapsedTimer total;
    total.start();
    QElapsedTimer timer;
    timer.start();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("makefarm"));
    db.setDatabaseName(file);
    if (!db.open())
        return fail(db.lastError().text());
    // A generated file is made again rather than recovered: no waiting for the disk.
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous = OFF")))
        return fail(pragma.lastError().text());

    QString error;
    farm::HerdOptions herd;
    herd.cows = cows;
    herd.seed = seed;
    if (!farm::createSuiteObjects(db, &error) || !farm::generateHerd(db, herd, &error))
        return fail(error);
    report("herd", timer);
    // The sample scripts use the solar functions, as the tool's connection provides them.
    if (!sqliteproc::registerSolarFunctions(db, &error))
        return fail(error);
    if (install) {
        QStringList scripts = {parser.value(QStringLiteral("install"))};
        if (parser.isSet(QStringLiteral("extra")))
            scripts.append(parser.value(QStringLiteral("extra")));
        for (const QString& script : scripts)
            if (!farm::runScriptFile(db, script, &error))
                return fail(error);
        report("scripts", timer);
        if (enrolments > 0 && !farm::generateEnrolments(db, enrolments, seed, &error))
            return fail(error);
        report("enrolments", timer);
        if (!sqliteproc::computeDis(db, solar::fromDate(appclock::today()), &error))
            return fail(error);
        report("due dates and days in treatment", timer);
    }
    db.close();
    std::printf("makefarm: %s: %d cows, %d enrolments in %.2f s\n", qPrintable(file), cows, enrolments,
                total.elapsed() / 1000.0);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds an SQLite farm database with a generated herd."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("out"), QStringLiteral("The farm file to write (replaced)."), QStringLiteral("file")},
        {QStringLiteral("cows"), QStringLiteral("Number of cows."), QStringLiteral("n")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator (default 1)."), QStringLiteral("s")},
        {QStringLiteral("today"), QStringLiteral("The day counted to (default: the clock's)."),
         QStringLiteral("yyyy-mm-dd")},
        {QStringLiteral("install"), QStringLiteral("Setup script with the tool's objects (UTF-8)."),
         QStringLiteral("script")},
        {QStringLiteral("extra"), QStringLiteral("A second script run after it, e.g. the sample protocols."),
         QStringLiteral("script")},
        {QStringLiteral("enrolments"), QStringLiteral("Number of enrolments to generate."),
         QStringLiteral("m")},
    });
    parser.process(app);
    if (!parser.isSet(QStringLiteral("out")) || !parser.isSet(QStringLiteral("cows")))
        parser.showHelp(2);
    const int result = build(parser);
    QSqlDatabase::removeDatabase(QStringLiteral("makefarm"));
    return result;
}
