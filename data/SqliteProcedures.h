#pragma once

#include <QSqlDatabase>
#include <QString>

// SQLite has no stored procedures and no solar calendar. The tool registers the calendar's day
// arithmetic as SQL functions on each SQLite connection it opens, and runs the work of the
// server's E_P_ComputeDis itself, on the same connection.
namespace sqliteproc {

// Registers on the connection (which must use the QSQLITE driver):
//   solar_add_days(date text, days integer) -> the solar date text, or NULL when the date is not
//       a solar date or the days are not a whole number;
//   solar_days_between(from text, to text) -> whole days from the first date to the second, or
//       NULL when either is not a solar date;
//   solar_today() -> today's solar date text from the program's clock.
// Dates are read as the calendar's routines read them: a day beyond its month's length counts on
// into the next month.
bool registerSolarFunctions(QSqlDatabase db, QString* error = nullptr);

// The stand-in for E_P_ComputeDis with today's solar date: for every enrolment of P_Work,
//   NextLvlDate = StartCurActDate moved on by the PDays of the level after PCurLevel less the
//                 PDays of PCurLevel, as a solar date text; the empty text when the protocol has
//                 no level PCurLevel + 1 (or no level PCurLevel) or StartCurActDate is no date;
//   DisIn       = days from PInDate to today while the enrolment is open (POutDate NULL or
//                 blank), to POutDate once it is closed; NULL when a date is unusable.
// Only rows whose values change are written, in one statement. Needs registerSolarFunctions.
bool computeDis(QSqlDatabase db, const QString& today, QString* error = nullptr);

} // namespace sqliteproc
