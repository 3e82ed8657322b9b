#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Solar (Persian) calendar dates held as text "year/month/day". Pure rules, no messages.
namespace solar {

enum class Failure { None, SlashCount, NonDigit, EmptyPart, Month, Day };

// The validity rules in their order; the text is trimmed of codes 0 to 32 first.
Failure check(const QString& text);
// The text with characters of codes 0 to 32 removed from both ends, as the messages quote it.
QString trimmed(const QString& text);
// The completed form of a valid text (year from "1300", month and day padded to two digits);
// an invalid text is returned unchanged.
QString complete(const QString& text);
// "dd/mm/yyyy" Gregorian to the solar text, or the empty text when it is not three numbers.
QString fromGregorianText(const QString& gregorian);
// The solar text of a date, "dd/mm/yyyy" rendered and converted as above.
QString fromDate(const QDate& date);

// Day arithmetic on complete solar texts (used on the database side for due dates and days
// in treatment). A day beyond its month's length counts on into the next month.
std::optional<qint64> dayNumber(const QString& text);
QString fromDayNumber(qint64 dayNumber);
std::optional<QString> addDays(const QString& text, qint64 days);
std::optional<qint64> daysBetween(const QString& from, const QString& to);

} // namespace solar
