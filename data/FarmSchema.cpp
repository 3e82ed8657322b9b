#include "data/FarmSchema.h"

#include "services/TextFile.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

namespace farm {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The suite keeps more about a cow than the tool reads; these are the columns it reads, in the
// forms it reads them: Serial and Body as text (Body zero-filled to five characters), dates as
// solar texts "yyyy/mm/dd", counts and day figures as whole numbers.
const char* const kSuiteObjects[] = {
    "CREATE TABLE IF NOT EXISTS Main ("
    " Serial TEXT PRIMARY KEY,"
    " Body TEXT NOT NULL,"
    " BodyRepeate INTEGER NOT NULL DEFAULT 0,"
    " Existcode INTEGER NOT NULL DEFAULT 0,"
    " Sex TEXT,"
    " MilkPeriod INTEGER,"
    " BirthDate TEXT)",
    "CREATE INDEX IF NOT EXISTS Main_Body ON Main (Body)",

    // One row of current figures per cow, kept apart from the register as the suite does.
    "CREATE TABLE IF NOT EXISTS CowStatus ("
    " Serial TEXT PRIMARY KEY,"
    " Selcount INTEGER,"
    " DisB INTEGER,"
    " DisT INTEGER,"
    " DisLT INTEGER,"
    " DisZ INTEGER,"
    " OpenDays INTEGER,"
    " CowKind TEXT,"
    " LastBriding TEXT,"
    " DateLastBriding TEXT,"
    " TalghihStatus TEXT,"
    " DateTalghih TEXT,"
    " LastTDate TEXT,"
    " TNum INTEGER,"
    " DryStartDate TEXT,"
    " ZDate TEXT,"
    " ZSDate TEXT,"
    " ZSittuation TEXT,"
    " MilkAmountSumDate TEXT,"
    " MilkAmountSum REAL,"
    " BCode INTEGER)",

    // Every cow of the register, with empty figures where it has no status row.
    "CREATE VIEW IF NOT EXISTS cowStatusView AS SELECT"
    " m.Serial AS Serial, m.Body AS Body, m.Existcode AS Existcode, m.Sex AS Sex,"
    " m.BodyRepeate AS BodyRepeate, s.Selcount AS Selcount, s.DisB AS DisB, s.DisT AS DisT,"
    " s.DisLT AS DisLT, s.DisZ AS DisZ, s.OpenDays AS OpenDays, m.MilkPeriod AS MilkPeriod,"
    " s.CowKind AS CowKind, s.LastBriding AS LastBriding, s.DateLastBriding AS DateLastBriding,"
    " s.TalghihStatus AS TalghihStatus, s.DateTalghih AS DateTalghih, s.LastTDate AS LastTDate,"
    " s.TNum AS TNum, s.DryStartDate AS DryStartDate, s.ZDate AS ZDate, s.ZSDate AS ZSDate,"
    " s.ZSittuation AS ZSittuation, s.MilkAmountSumDate AS MilkAmountSumDate,"
    " s.MilkAmountSum AS MilkAmountSum, s.BCode AS BCode"
    " FROM Main m LEFT OUTER JOIN CowStatus s ON s.Serial = m.Serial",

    "CREATE TABLE IF NOT EXISTS Info ("
    " GroupSec TEXT,"
    " KeyName TEXT,"
    " KeyValue TEXT,"
    " Discription TEXT)",

    "CREATE TABLE IF NOT EXISTS FrComments ("
    " GroupSec TEXT,"
    " IsActive INTEGER,"
    " Comment TEXT)",

    // The server's catalogue as the tool queries it: names compare without regard to case,
    // as the server compares object names.
    "CREATE VIEW IF NOT EXISTS sysobjects AS SELECT"
    " name COLLATE NOCASE AS name,"
    " CASE type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS XType"
    " FROM sqlite_master"
    " WHERE type IN ('table', 'view', 'trigger') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
};

} // namespace

bool createSuiteObjects(QSqlDatabase db, QString* error)
{
    QSqlQuery query(db);
    for (const char* statement : kSuiteObjects) {
        if (!query.exec(QString::fromLatin1(statement))) {
            setError(error, query.lastError().text());
            return false;
        }
    }
    return true;
}

QStringList splitBatches(const QStringList& lines)
{
    QStringList batches;
    QStringList current;
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1String("--")) || line.startsWith(QLatin1String("//")))
            continue;
        if (line.trimmed().compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0) {
            const QString text = current.join(u'\n');
            if (!text.trimmed().isEmpty())
                batches.append(text);
            current.clear();
            continue;
        }
        current.append(line);
    }
    return batches;
}

bool readUtf8Lines(const QString& path, QStringList* lines, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError()) {
        setError(error, path + QStringLiteral(": not UTF-8 text"));
        return false;
    }
    *lines = textfile::splitLines(text);
    return true;
}

bool runScriptFile(QSqlDatabase db, const QString& utf8Path, QString* error)
{
    QStringList lines;
    if (!readUtf8Lines(utf8Path, &lines, error))
        return false;
    const QStringList batches = splitBatches(lines);
    QSqlQuery query(db);
    for (qsizetype i = 0; i < batches.size(); ++i) {
        if (!query.exec(batches.at(i))) {
            setError(error, QStringLiteral("%1: batch %2 failed: %3\n%4")
                                .arg(utf8Path)
                                .arg(i + 1)
                                .arg(query.lastError().text(), batches.at(i)));
            return false;
        }
        query.finish();
    }
    return true;
}

bool writeScriptCp1256(const QString& utf8SourcePath, const QString& destination, QString* error)
{
    QStringList lines;
    if (!readUtf8Lines(utf8SourcePath, &lines, error))
        return false;
    // The encoder puts a question mark where a letter has no code; a look-alike letter from
    // outside the code page would reach the server as that mark.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (textfile::decode(textfile::encode(lines.at(i))) != lines.at(i)) {
            setError(error, QStringLiteral("%1: line %2 has a character outside code page 1256")
                                .arg(utf8SourcePath)
                                .arg(i + 1));
            return false;
        }
    }
    return textfile::writeLines(destination, lines, error);
}

} // namespace farm
