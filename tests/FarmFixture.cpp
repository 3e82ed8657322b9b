#include "tests/FarmFixture.h"

#include "calendar/Clock.h"
#include "calendar/SolarDate.h"
#include "data/ConnectionSettings.h"
#include "data/DemoHerd.h"
#include "data/FarmSchema.h"
#include "data/SqliteProcedures.h"
#include "services/Paths.h"

#include <QDir>
#include <QSqlDatabase>

namespace testsupport {

namespace {
const QString kSqlDir = QStringLiteral(VETRILO_SQL_DIR);

bool buildFarm(const QString& file, const FarmOptions& options, QString* error)
{
    farm::HerdOptions herd;
    herd.cows = options.cows;
    if (!farm::createFarmFile(file, herd, error))
        return false;
    if (!options.installTool)
        return true;
    const QString name = QStringLiteral("fixture-setup");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ok = db.open() && sqliteproc::registerSolarFunctions(db, error) &&
             farm::runScriptFile(db, kSqlDir + QStringLiteral("/sqlite/ProSetup.Cmd"), error);
        if (ok && options.demoProtocols)
            ok = farm::runScriptFile(db, kSqlDir + QStringLiteral("/sqlite/DemoProtocols.sql"), error) &&
                 sqliteproc::computeDis(db, solar::fromDate(appclock::today()), error);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
} // namespace

FarmFolder::FarmFolder(const FarmOptions& options)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    if (!buildFarm(farmFile(), options, &m_error)) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("the farm could not be built");
        return;
    }
    if (!connsettings::writeScrambledFile(path() + QStringLiteral("WTimes.DLL"),
                                          ConnectionValues::sqliteFile(QStringLiteral("farm.db")), &m_error))
        return;
    if (options.setupScript &&
        !farm::writeScriptCp1256(kSqlDir + QStringLiteral("/sqlite/ProSetup.Cmd"), path() + QStringLiteral("ProSetup.Cmd"),
                                 &m_error))
        return;
    if (options.prepFolder)
        QDir(path()).mkdir(QStringLiteral("PRep"));
    paths::setProgramFolder(path());
}

FarmFolder::~FarmFolder() { paths::setProgramFolder(QString()); }

QString FarmFolder::path() const { return m_dir.path() + u'/'; }

QString FarmFolder::farmFile() const { return path() + QStringLiteral("farm.db"); }

} // namespace testsupport
