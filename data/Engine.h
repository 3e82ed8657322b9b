#pragma once

#include "data/ConnectionSettings.h"

#include <QSqlDatabase>
#include <memory>

// What differs between the embedded SQLite farm and the suite's SQL Server: how a connection is
// opened, the customer register, and the procedure that recomputes the due dates.
class Engine
{
public:
    virtual ~Engine() = default;

    // "sqlite" (any case) or "sqlite:" and a folder chooses the embedded engine; anything else is
    // a SQL Server name reached through ODBC.
    static std::unique_ptr<Engine> forServer(const QString& server);

    virtual QString name() const = 0;
    // Opens a named connection with the values; false with the driver's text.
    virtual bool open(const QString& connectionName, const ConnectionValues& values, QString* error) = 0;
    // The register check: whether the server holds a database of that name.
    virtual bool hasDatabase(const QSqlDatabase& db, const QString& database) = 0;
    // Whether the procedure behind Sp1 can be run.
    virtual bool procedureReady(const QSqlDatabase& db, QString* error) = 0;
    // Runs the procedure with today's solar date.
    virtual bool computeDis(const QSqlDatabase& db, const QString& today, QString* error) = 0;
    // A SELECT that ends in its ORDER BY, limited to count rows after the first offset.
    virtual QString limited(const QString& select, int count, int offset) const;
    // The LIMIT form, which SQLite and most engines take.
    static QString limitedWithLimit(const QString& select, int count, int offset);
};
