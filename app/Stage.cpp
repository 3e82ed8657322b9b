// Stages a program folder: a generated SQLite farm, the scrambled settings naming it, the setup
// script with the sample protocols (so the first start installs the tool), the suite's program
// list and the filter folder. Used by scripts/demo.
//
//   vetrilo-stage --folder DIR --sql SQLDIR [--cows N]

#include "data/ConnectionSettings.h"
#include "data/DemoHerd.h"
#include "data/FarmSchema.h"
#include "services/TextFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

bool fail(const QString& message)
{
    std::fprintf(stderr, "vetrilo-stage: %s\n", qPrintable(message));
    return false;
}

// UTF-8 sources in the repository become code page 1256 files, as the tool reads them.
bool convert(const QString& source, const QString& destination)
{
    QStringList lines;
    QString error;
    if (!farm::readUtf8Lines(source, &lines, &error))
        return fail(error);
    if (!textfile::writeLines(destination, lines, &error))
        return fail(error);
    return true;
}

bool stage(const QString& folder, const QString& sqlDir, int cows)
{
    QDir().mkpath(folder);
    QString error;
    farm::HerdOptions herd;
    herd.cows = cows;
    if (!farm::createFarmFile(QDir(folder).filePath(QStringLiteral("farm.db")), herd, &error))
        return fail(error);
    const ConnectionValues values = ConnectionValues::sqliteFile(QStringLiteral("farm.db"));
    if (!connsettings::writeScrambledFile(QDir(folder).filePath(QStringLiteral("WTimes.DLL")), values, &error))
        return fail(error);

    // The setup script and the sample protocols run as one first-run script.
    QStringList script, demo;
    if (!farm::readUtf8Lines(sqlDir + QStringLiteral("/sqlite/ProSetup.Cmd"), &script, &error) ||
        !farm::readUtf8Lines(sqlDir + QStringLiteral("/sqlite/DemoProtocols.sql"), &demo, &error))
        return fail(error);
    if (!textfile::writeLines(QDir(folder).filePath(QStringLiteral("ProSetup.Cmd")), script + demo, &error))
        return fail(error);

    QFile::remove(QDir(folder).filePath(QStringLiteral("P_Install")));
    if (!convert(sqlDir + QStringLiteral("/demo/Executer.List"), QDir(folder).filePath(QStringLiteral("Executer.List"))))
        return false;
    const QDir prepSource(sqlDir + QStringLiteral("/demo/PRep"));
    QDir(folder).mkpath(QStringLiteral("PRep"));
    for (const QString& name : prepSource.entryList(QDir::Files))
        if (!convert(prepSource.filePath(name), QDir(folder).filePath(QStringLiteral("PRep/") + name)))
            return false;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("folder"), QStringLiteral("program folder to stage"), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("sql"), QStringLiteral("the sql folder of the sources"), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("cows"), QStringLiteral("herd size"), QStringLiteral("n"), QStringLiteral("400")});
    parser.addHelpOption();
    parser.process(app);
    if (!parser.isSet(QStringLiteral("folder")) || !parser.isSet(QStringLiteral("sql")))
        parser.showHelp(2);
    return stage(parser.value(QStringLiteral("folder")), parser.value(QStringLiteral("sql")),
                 parser.value(QStringLiteral("cows")).toInt())
               ? 0
               : 1;
}
