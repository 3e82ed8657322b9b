#include "data/Engine.h"

#include "data/SqliteProcedures.h"
#include "services/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

class SqliteEngine final : public Engine
{
public:
    explicit SqliteEngine(QString folder)
        : m_folder(std::move(folder))
    {
    }

    QString name() const override { return QStringLiteral("sqlite"); }

    QString pathOf(const QString& database) const
    {
        if (QDir::isAbsolutePath(database))
            return database;
        const QString base = m_folder.isEmpty() ? paths::programFolder() : m_folder;
        return QDir(base).filePath(database);
    }

    bool open(const QString& connectionName, const ConnectionValues& values, QString* error) override
    {
        // The server's own database "master" has no file: the server is the folder itself.
        const bool server = values.database.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0;
        // SQLite would create a missing file; a wrong database name must fail like a refused login.
        const QString path = server ? QStringLiteral(":memory:") : fileOf(values.database);
        if (!server && (values.database.isEmpty() || !QFileInfo(path).isFile())) {
            *error = QStringLiteral("database file not found: ") + path;
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open()) {
            *error = db.lastError().text();
            return false;
        }
        return sqliteproc::registerSolarFunctions(db, error);
    }

    // A database is a file in the folder, named as given or with ".db" added (the register
    // "Masters" is "Masters.db").
    QString fileOf(const QString& database) const
    {
        const QString path = pathOf(database);
        if (!QFileInfo(path).isFile() && QFileInfo(path + QStringLiteral(".db")).isFile())
            return path + QStringLiteral(".db");
        return path;
    }

    bool hasDatabase(const QSqlDatabase&, const QString& database) override
    {
        return !database.isEmpty() && QFileInfo(fileOf(database)).isFile();
    }

    bool procedureReady(const QSqlDatabase&, QString*) override { return true; }

    bool computeDis(const QSqlDatabase& db, const QString& today, QString* error) override
    {
        return sqliteproc::computeDis(db, today, error);
    }

private:
    QString m_folder;
};

class SqlServerEngine final : public Engine
{
public:
    QString name() const override { return QStringLiteral("sqlserver"); }

    bool open(const QString& connectionName, const ConnectionValues& values, QString* error) override
    {
        const QString driver = qEnvironmentVariable("VETRILO_ODBC_DRIVER", QStringLiteral("ODBC Driver 18 for SQL Server"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
        db.setDatabaseName(QStringLiteral("DRIVER={%1};SERVER=%2;DATABASE=%3;TrustServerCertificate=yes")
                               .arg(driver, values.server, values.database));
        db.setUserName(values.userName);
        db.setPassword(values.password);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10;SQL_ATTR_CONNECTION_TIMEOUT=10"));
        if (!db.open()) {
            *error = db.lastError().text();
            return false;
        }
        return true;
    }

    bool hasDatabase(const QSqlDatabase& db, const QString& database) override
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT * FROM sysdatabases WHERE (name = ?)"));
        query.addBindValue(database);
        return query.exec() && query.next();
    }

    bool procedureReady(const QSqlDatabase& db, QString* error) override
    {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("SELECT name FROM sysobjects WHERE name = 'E_P_ComputeDis' And XType='P'")) &&
            query.next())
            return true;
        *error = query.lastError().isValid() ? query.lastError().text()
                                             : QStringLiteral("dbo.E_P_ComputeDis;1 not found");
        return false;
    }

    // SQL Server pages with OFFSET/FETCH after the ORDER BY.
    QString limited(const QString& select, int count, int offset) const override
    {
        return select + QStringLiteral(" OFFSET %1 ROWS FETCH NEXT %2 ROWS ONLY").arg(offset).arg(count);
    }

    bool computeDis(const QSqlDatabase& db, const QString& today, QString* error) override
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("{CALL dbo.E_P_ComputeDis(?)}"));
        query.addBindValue(today);
        if (query.exec())
            return true;
        *error = query.lastError().text();
        return false;
    }
};

} // namespace

QString Engine::limited(const QString& select, int count, int offset) const
{
    return limitedWithLimit(select, count, offset);
}

QString Engine::limitedWithLimit(const QString& select, int count, int offset)
{
    return select + QStringLiteral(" LIMIT %1").arg(count) +
           (offset > 0 ? QStringLiteral(" OFFSET %1").arg(offset) : QString());
}

std::unique_ptr<Engine> Engine::forServer(const QString& server)
{
    const QString s = server.trimmed();
    if (s.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0)
        return std::make_unique<SqliteEngine>(QString());
    if (s.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return std::make_unique<SqliteEngine>(s.mid(7));
    return std::make_unique<SqlServerEngine>();
}
