#include "calendar/SolarDate.h"

#include <QCalendar>
#include <QDate>

namespace solar {

namespace {

bool isControlOrBlank(QChar c) { return c.unicode() <= 32; }

// A part of digits read as a number; a part too long for an int is not a number.
std::optional<int> partValue(const QString& digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

// Whole decimal number as the conversion reads it: leading blanks and a sign allowed.
std::optional<int> wholeNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && isControlOrBlank(text.at(i)))
        ++i;
    QString rest = text.mid(i);
    if (rest.isEmpty())
        return std::nullopt;
    qsizetype digitsFrom = (rest.at(0) == u'-' || rest.at(0) == u'+') ? 1 : 0;
    if (digitsFrom >= rest.size())
        return std::nullopt;
    for (qsizetype k = digitsFrom; k < rest.size(); ++k)
        if (rest.at(k) < u'0' || rest.at(k) > u'9')
            return std::nullopt;
    bool ok = false;
    const int value = rest.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

QString padLeft(const QString& part, const QString& filler, qsizetype width)
{
    if (part.size() >= width)
        return part;
    return filler.left(width - part.size()) + part;
}

const QCalendar& jalali()
{
    static const QCalendar calendar(QCalendar::System::Jalali);
    return calendar;
}

} // namespace

QString trimmed(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isControlOrBlank(text.at(from)))
        ++from;
    while (to > from && isControlOrBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

Failure check(const QString& text)
{
    const QString s = trimmed(text);
    if (s.count(u'/') != 2)
        return Failure::SlashCount;
    for (const QChar c : s)
        if (c != u'/' && (c < u'0' || c > u'9'))
            return Failure::NonDigit;
    const QStringList parts = s.split(u'/');
    if (parts.at(0).isEmpty() || parts.at(1).isEmpty() || parts.at(2).isEmpty())
        return Failure::EmptyPart;
    const auto month = partValue(parts.at(1));
    if (!month || *month < 1 || *month > 12)
        return Failure::Month;
    const auto day = partValue(parts.at(2));
    if (!day || *day < 1 || *day > 31)
        return Failure::Day;
    return Failure::None;
}

QString complete(const QString& text)
{
    if (check(text) != Failure::None)
        return text;
    const qsizetype first = text.indexOf(u'/');
    const qsizetype second = text.indexOf(u'/', first + 1);
    const QString year = trimmed(text.left(first));
    const QString month = trimmed(text.mid(first + 1, second - first - 1));
    const QString day = text.mid(second + 1);
    return padLeft(year, QStringLiteral("1300"), 4) + u'/' + padLeft(month, QStringLiteral("0"), 2) + u'/' +
           padLeft(day, QStringLiteral("0"), 2);
}

QString fromGregorianText(const QString& gregorian)
{
    const qsizetype first = gregorian.indexOf(u'/');
    const qsizetype second = first < 0 ? -1 : gregorian.indexOf(u'/', first + 1);
    if (second < 0)
        return {};
    const auto d = wholeNumber(gregorian.left(first));
    const auto m = wholeNumber(gregorian.mid(first + 1, second - first - 1));
    const auto y = wholeNumber(gregorian.mid(second + 1));
    if (!d || !m || !y)
        return {};

    // Day offsets of the solar date against the Gregorian day of month.
    static const int offsets[] = {10, 11, 9, 11, 10, 10, 9, 9, 9, 8, 9, 9};
    const int month = *m;
    const int year = *y;
    int k = (month >= 1 && month <= 12) ? offsets[month - 1] : 0;
    // The divisibility tests and the solar year work on the full Gregorian year: inside 1922 to
    // March 2021 this is what the two-digit reckoning gave, and outside it the year stays right.
    if (year % 4 == 0 && month > 2)
        k += 1;
    int lastMonthLength = 29;
    if ((year - 1) % 4 == 0) {
        lastMonthLength = 30;
        if (month <= 3)
            k += 1;
    }
    qint64 sy = qint64(year) - 622;
    qint64 sm = qint64(month) + 9;
    if (sm > 12) {
        sm -= 12;
        sy += 1;
    }
    qint64 sd = qint64(*d) + k;
    const qint64 length = sm <= 6 ? 31 : (sm <= 11 ? 30 : lastMonthLength);
    if (sd > length) {
        sd -= length;
        sm += 1;
    }
    if (sm > 12) {
        sm -= 12;
        sy += 1;
    }
    return complete(QString::number(sy) + u'/' + QString::number(sm) + u'/' + QString::number(sd));
}

QString fromDate(const QDate& date)
{
    return fromGregorianText(date.toString(QStringLiteral("dd/MM/yyyy")));
}

std::optional<qint64> dayNumber(const QString& text)
{
    if (check(text) != Failure::None)
        return std::nullopt;
    const QStringList parts = complete(text).trimmed().split(u'/');
    bool okYear = false;
    const int year = parts.at(0).toInt(&okYear);
    const auto month = partValue(parts.at(1));
    const auto day = partValue(parts.at(2).trimmed());
    if (!okYear || !month || !day)
        return std::nullopt;
    const QDate first(year, *month, 1, jalali());
    if (!first.isValid())
        return std::nullopt;
    return first.toJulianDay() + *day - 1;
}

QString fromDayNumber(qint64 number)
{
    const QCalendar::YearMonthDay parts = jalali().partsFromDate(QDate::fromJulianDay(number));
    if (!parts.isValid())
        return {};
    return QStringLiteral("%1/%2/%3")
        .arg(parts.year, 4, 10, QLatin1Char('0'))
        .arg(parts.month, 2, 10, QLatin1Char('0'))
        .arg(parts.day, 2, 10, QLatin1Char('0'));
}

std::optional<QString> addDays(const QString& text, qint64 days)
{
    const auto number = dayNumber(text);
    if (!number)
        return std::nullopt;
    const QString result = fromDayNumber(*number + days);
    if (result.isEmpty())
        return std::nullopt;
    return result;
}

std::optional<qint64> daysBetween(const QString& from, const QString& to)
{
    const auto a = dayNumber(from);
    const auto b = dayNumber(to);
    if (!a || !b)
        return std::nullopt;
    return *b - *a;
}

} // namespace solar
