#include "data/SqliteProcedures.h"

#include "calendar/Clock.h"
#include "calendar/SolarDate.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>

namespace sqliteproc {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Day numbers of the date texts seen on one connection, and date texts of day numbers. A work
// list holds few distinct dates, and the calendar's conversions cost far more than a look-up.
class SolarCache
{
public:
    std::optional<qint64> dayNumber(sqlite3_value* value)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const int size = sqlite3_value_bytes(value);
        const QByteArray key = QByteArray::fromRawData(text, size);
        const auto found = m_numbers.constFind(key);
        if (found != m_numbers.cend())
            return *found;
        const auto number = solar::dayNumber(QString::fromUtf8(text, size));
        if (m_numbers.size() >= kLimit)
            m_numbers.clear();
        m_numbers.insert(QByteArray(text, size), number);
        return number;
    }

    // The text of a day number, or an empty array when the calendar has none.
    const QByteArray& text(qint64 number)
    {
        const auto found = m_texts.constFind(number);
        if (found != m_texts.cend())
            return *found;
        if (m_texts.size() >= kLimit)
            m_texts.clear();
        return *m_texts.insert(number, solar::fromDayNumber(number).toUtf8());
    }

private:
    static constexpr qsizetype kLimit = 100000;
    QHash<QByteArray, std::optional<qint64>> m_numbers;
    QHash<qint64, QByteArray> m_texts;
};

SolarCache& cacheOf(sqlite3_context* context)
{
    return *static_cast<SolarCache*>(sqlite3_user_data(context));
}

void deleteCache(void* cache)
{
    delete static_cast<SolarCache*>(cache);
}

std::optional<qint64> wholeArgument(sqlite3_value* value)
{
    switch (sqlite3_value_numeric_type(value)) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(value);
    case SQLITE_FLOAT: {
        const double number = sqlite3_value_double(value);
        if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
            return qint64(number);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

void solarAddDays(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto days = wholeArgument(argv[1]);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || !days) {
        sqlite3_result_null(context);
        return;
    }
    SolarCache& cache = cacheOf(context);
    const auto number = cache.dayNumber(argv[0]);
    const QByteArray& text = number ? cache.text(*number + *days) : QByteArray();
    if (text.isEmpty())
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void solarDaysBetween(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    SolarCache& cache = cacheOf(context);
    const auto from = cache.dayNumber(argv[0]);
    const auto to = from ? cache.dayNumber(argv[1]) : std::nullopt;
    if (from && to)
        sqlite3_result_int64(context, *to - *from);
    else
        sqlite3_result_null(context);
}

void solarToday(sqlite3_context* context, int, sqlite3_value**)
{
    const QByteArray text = solar::fromDate(appclock::today()).toUtf8();
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(handle.data());
}

// The next level is the design row of PCurLevel + 1: a protocol whose levels skip a number ends
// at the level before the gap. Both look-ups go through the unique key on (ProName, PLevel).
const char kNextLevelDate[] = "COALESCE(solar_add_days(StartCurActDate,"
                              " (SELECT n.PDays FROM P_ProtocolDesign n"
                              "   WHERE n.ProName = P_Work.ProName AND n.PLevel = P_Work.PCurLevel + 1)"
                              " - (SELECT c.PDays FROM P_ProtocolDesign c"
                              "   WHERE c.ProName = P_Work.ProName AND c.PLevel = P_Work.PCurLevel)), '')";

const char kDaysInTreatment[] =
    "solar_days_between(PInDate,"
    " CASE WHEN POutDate IS NULL OR trim(POutDate) = '' THEN :today ELSE POutDate END)";

} // namespace

bool registerSolarFunctions(QSqlDatabase db, QString* error)
{
    sqlite3* handle = sqliteHandle(db);
    if (!handle) {
        setError(error, QStringLiteral("solar functions need an open SQLite connection"));
        return false;
    }
    constexpr int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Function
    {
        const char* name;
        int arguments;
        int flags;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
        bool cached;
    };
    const Function functions[] = {
        {"solar_add_days", 2, pure, solarAddDays, true},
        {"solar_days_between", 2, pure, solarDaysBetween, true},
        // Not deterministic: the clock moves, and tests set it.
        {"solar_today", 0, SQLITE_UTF8, solarToday, false},
    };
    for (const Function& f : functions) {
        // SQLite owns the cache from here on, also when the registration fails.
        const int rc = sqlite3_create_function_v2(handle, f.name, f.arguments, f.flags,
                                                  f.cached ? new SolarCache : nullptr, f.call, nullptr,
                                                  nullptr, f.cached ? deleteCache : nullptr);
        if (rc != SQLITE_OK) {
            setError(error, QStringLiteral("%1: %2").arg(QLatin1String(f.name),
                                                         QString::fromUtf8(sqlite3_errstr(rc))));
            return false;
        }
    }
    return true;
}

bool computeDis(QSqlDatabase db, const QString& today, QString* error)
{
    // One statement, so one transaction of its own (or part of the caller's).
    const QString statement =
        QStringLiteral(
            "UPDATE P_Work SET NextLvlDate = %1, DisIn = %2 WHERE NextLvlDate IS NOT %1 OR DisIn IS NOT %2")
            .arg(QLatin1String(kNextLevelDate), QLatin1String(kDaysInTreatment));
    QSqlQuery query(db);
    if (!query.prepare(statement)) {
        setError(error, query.lastError().text());
        return false;
    }
    query.bindValue(QStringLiteral(":today"), today);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    return true;
}

} // namespace sqliteproc
