#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The four values the farm database is reached with.
struct ConnectionValues
{
    QString userName;
    QString password;
    QString server;
    QString database;
    bool isComplete() const { return !server.isEmpty() && !database.isEmpty(); }
    // The settings of an SQLite farm file in the program folder.
    static ConnectionValues sqliteFile(const QString& database)
    {
        return {QStringLiteral("sa"), QString(), QStringLiteral("sqlite"), database};
    }
};

namespace connsettings {

// The settings file's scrambling: byte k (1-based) of a line XOR (2k mod 256). The same
// operation scrambles and descrambles; a line keeps its length and every 128th byte is unchanged.
QByteArray scrambleLine(const QByteArray& line);

// Reads "WTimes.DLL": line 1 password, 2 server, 3 database, 4 user name. False with a reason
// when the file cannot be read or holds fewer than four lines.
bool readScrambledFile(const QString& path, ConnectionValues* values, QString* error);
// Writes the four values scrambled in the file's order (for the stager and tests).
bool writeScrambledFile(const QString& path, const ConnectionValues& values, QString* error = nullptr);

} // namespace connsettings
