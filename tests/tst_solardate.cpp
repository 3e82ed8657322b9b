#include "calendar/Clock.h"
#include "calendar/SolarDate.h"

#include <QtTest>

Q_DECLARE_METATYPE(solar::Failure)

class TestSolarDate : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void complete_data();
    void complete();
    void fromGregorian_data();
    void fromGregorian();
    void todayOfTheClock();
    void dayArithmetic_data();
    void dayArithmetic();
};

void TestSolarDate::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<solar::Failure>("failure");
    using F = solar::Failure;
    QTest::newRow("dashes fail the slash count first") << "1385-07-01" << F::SlashCount;
    QTest::newRow("three slashes") << "1385/07/01/" << F::SlashCount;
    QTest::newRow("letter") << "1385/07/01x" << F::NonDigit;
    QTest::newRow("inner blank") << "1385 /07/01" << F::NonDigit;
    QTest::newRow("outer blanks are trimmed") << "  1385/07/01\t" << F::None;
    QTest::newRow("no year") << "/07/01" << F::EmptyPart;
    QTest::newRow("no month") << "1385//01" << F::EmptyPart;
    QTest::newRow("no day") << "1385/07/" << F::EmptyPart;
    QTest::newRow("month 13") << "1385/13/01" << F::Month;
    QTest::newRow("month 0") << "1385/00/10" << F::Month;
    QTest::newRow("month too long for an integer") << "1385/99999999999999999999/01" << F::Month;
    QTest::newRow("day 32") << "1385/07/32" << F::Day;
    QTest::newRow("day 0") << "1385/07/0" << F::Day;
    QTest::newRow("day too long for an integer") << "1385/07/99999999999999999999" << F::Day;
    QTest::newRow("day 31 in month 12") << "1385/12/31" << F::None;
    QTest::newRow("day 31 in month 7") << "1385/07/31" << F::None;
    QTest::newRow("year 0") << "0/1/1" << F::None;
}

void TestSolarDate::check()
{
    QFETCH(QString, text);
    QFETCH(solar::Failure, failure);
    QCOMPARE(solar::check(text), failure);
}

void TestSolarDate::complete_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("completed");
    QTest::newRow("year 0") << "0/1/1" << "1300/01/01";
    QTest::newRow("two-digit year") << "85/7/1" << "1385/07/01";
    QTest::newRow("one-digit year") << "5/7/1" << "1305/07/01";
    QTest::newRow("three-digit year") << "385/7/1" << "1385/07/01";
    QTest::newRow("three-digit month kept") << "1385/007/01" << "1385/007/01";
    QTest::newRow("five-digit year kept") << "13850/7/1" << "13850/07/01";
    QTest::newRow("day keeps its trailing blank") << "1385/7/1 " << "1385/07/1 ";
    QTest::newRow("invalid is unchanged") << "1385/13/1" << "1385/13/1";
}

void TestSolarDate::complete()
{
    QFETCH(QString, text);
    QFETCH(QString, completed);
    QCOMPARE(solar::complete(text), completed);
}

void TestSolarDate::fromGregorian_data()
{
    QTest::addColumn<QString>("gregorian");
    QTest::addColumn<QString>("solarText");
    QTest::newRow("1922 start") << "01/01/1922" << "1300/10/11";
    QTest::newRow("2000") << "01/01/2000" << "1378/10/11";
    QTest::newRow("2004 end") << "31/12/2004" << "1383/10/11";
    QTest::newRow("2005 start") << "01/01/2005" << "1383/10/12";
    QTest::newRow("last day of 1383") << "20/03/2005" << "1383/12/30";
    QTest::newRow("new year 1384") << "21/03/2005" << "1384/01/01";
    QTest::newRow("1385 autumn") << "23/09/2006" << "1385/07/01";
    QTest::newRow("1385 month 7 end") << "22/10/2006" << "1385/07/30";
    QTest::newRow("1386 end") << "19/03/2008" << "1386/12/29";
    QTest::newRow("1387 start") << "20/03/2008" << "1387/01/01";
    QTest::newRow("end of the two-digit range") << "20/03/2021" << "1399/12/30";
    QTest::newRow("first day past the two-digit range") << "21/03/2021" << "1400/01/01";
    QTest::newRow("today") << "11/12/2026" << "1405/09/20";
    QTest::newRow("before 1922") << "01/01/1921" << "1299/10/12";
    QTest::newRow("leading blanks and sign") << " 11/+12/2026" << "1405/09/20";
    QTest::newRow("one slash") << "11/12" << "";
    QTest::newRow("empty part") << "11//2026" << "";
    QTest::newRow("not a number") << "11/x/2026" << "";
    QTest::newRow("trailing blank") << "11/12/2026 " << "";
}

void TestSolarDate::fromGregorian()
{
    QFETCH(QString, gregorian);
    QFETCH(QString, solarText);
    QCOMPARE(solar::fromGregorianText(gregorian), solarText);
}

void TestSolarDate::todayOfTheClock()
{
    appclock::setToday(QDate(2026, 12, 11));
    QCOMPARE(solar::fromDate(appclock::today()), QStringLiteral("1405/09/20"));
    appclock::setToday(QDate());
    QCOMPARE(appclock::today(), QDate::currentDate());
}

void TestSolarDate::dayArithmetic_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("to");
    QTest::newRow("same month") << "1405/09/01" << 19 << "1405/09/20";
    QTest::newRow("over a 31-day month end") << "1405/06/30" << 2 << "1405/07/01";
    QTest::newRow("over the year end") << "1404/12/29" << 1 << "1405/01/01";
    QTest::newRow("backwards") << "1405/01/01" << -1 << "1404/12/29";
    QTest::newRow("short form") << "1405/9/1" << 0 << "1405/09/01";
}

void TestSolarDate::dayArithmetic()
{
    QFETCH(QString, from);
    QFETCH(int, days);
    QFETCH(QString, to);
    QCOMPARE(solar::addDays(from, days).value_or(QString()), to);
    QCOMPARE(solar::daysBetween(from, to).value_or(-999999), days);
    QVERIFY(!solar::addDays(QStringLiteral("1405/13/01"), 1));
}

QTEST_GUILESS_MAIN(TestSolarDate)
#include "tst_solardate.moc"
