#include "calendar/Clock.h"
#include "data/DemoHerd.h"
#include "data/FarmSchema.h"
#include "data/SqliteProcedures.h"
#include "services/ScriptText.h"
#include "services/TextFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSqlDir = QStringLiteral(VETRILO_SQL_DIR);
const QString kToolSetup = kSqlDir + QStringLiteral("/sqlite/ProSetup.Cmd");
const QString kDemoProtocols = kSqlDir + QStringLiteral("/sqlite/DemoProtocols.sql");
const QString kServerSetup = kSqlDir + QStringLiteral("/sqlserver/ProSetup.Cmd");

const QString kEnd = QStringLiteral("خاتمه");
const QString kFemale = QStringLiteral("ماده");
const QString kFreemartin = QStringLiteral("فري مارتين ماده");
const QString kPregnant = QStringLiteral("آبستن");
// The open-enrolment tests of the entry (by serial) and of the advance and exit (by body).
const QString kOpenBySerial =
    QStringLiteral("Select * From P_Work Where ( Ltrim(RTrim(POutDate))='' Or PoutDate Is Null )and Serial=");
const QString kOpenByBody = QStringLiteral("Select ProId from P_VWork Where Body=");
const QString kOpenByBodyTail = QStringLiteral(" And (POutDate ='' Or POutDate Is Null)");
// The suggested-entry list's default query, its three lines as the data module holds them.
const QStringList kDefaultQuery = {
    QStringLiteral("Select * From "), QStringLiteral("cowStatusView Where Existcode<2"),
    QStringLiteral("and Sex Like '%ماده%' And LastBriding<>'آبستن' And DisZ>40")};

QString quoted(const QString& text)
{
    return u'\'' + QString(text).replace(u'\'', QLatin1String("''")) + u'\'';
}

// One SQLite farm file with its own named connection.
class Farm
{
public:
    explicit Farm(const QString& path) : m_name(QStringLiteral("farm-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Farm()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    // The suite's objects with a herd, and optionally the tool's objects and sample protocols.
    bool build(int cows, quint32 seed, bool tool, bool demo, QString* error) const
    {
        farm::HerdOptions options;
        options.cows = cows;
        options.seed = seed;
        return farm::createSuiteObjects(db(), error) && farm::generateHerd(db(), options, error) &&
               sqliteproc::registerSolarFunctions(db(), error) &&
               (!tool || farm::runScriptFile(db(), kToolSetup, error)) &&
               (!demo || farm::runScriptFile(db(), kDemoProtocols, error));
    }

    QVariant value(const QString& sql) const
    {
        QSqlQuery query(db());
        if (!query.exec(sql) || !query.next()) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
            return {};
        }
        return query.value(0);
    }

    // Every row as its values joined by '|', NULL shown as "<null>".
    QStringList rows(const QString& sql) const
    {
        QStringList result;
        QSqlQuery query(db());
        if (!query.exec(sql)) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
            return {QStringLiteral("<failed>")};
        }
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values.append(query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
            result.append(values.join(u'|'));
        }
        return result;
    }

    bool exec(const QString& sql) const
    {
        QSqlQuery query(db());
        if (query.exec(sql))
            return true;
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return false;
    }

private:
    static inline int s_count = 0;
    QString m_name;
};

} // namespace

class TestFarm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void herdIsDeterministic();
    void herdLooksLikeAHerd();
    void textsSurviveTheCodePage();
    void splitBatches_data();
    void splitBatches();
    void scriptsSplitAsTheToolSplitsThem_data();
    void scriptsSplitAsTheToolSplitsThem();
    void setupCreatesTheToolObjects();
    void tableTestFindsTheTableInAnyCase_data();
    void tableTestFindsTheTableInAnyCase();
    void levelNumbersAreUnique();
    void workListEditsReachTheEnrolment();
    void blankOutDateCountsAsOpen_data();
    void blankOutDateCountsAsOpen();
    void computeDis_data();
    void computeDis();
    void computeDisFollowsToday();
    void solarFunctions_data();
    void solarFunctions();
    void demoProtocolsAreConsistent();
    void generatedEnrolments();
    void scriptInCodePage1256_data();
    void scriptInCodePage1256();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFarm::initTestCase()
{
    // 11 December 2026 is 1405/09/20.
    appclock::setToday(QDate(2026, 12, 11));
}

void TestFarm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFarm::herdIsDeterministic()
{
    const QString dump =
        QStringLiteral("SELECT * FROM Main ORDER BY Serial;SELECT * FROM CowStatus ORDER BY Serial;"
                       "SELECT * FROM FrComments ORDER BY rowid;SELECT * FROM Info ORDER BY rowid");
    QList<QStringList> dumps;
    for (const quint32 seed : {7u, 7u, 8u}) {
        Farm farm(path(QStringLiteral("herd-%1-%2.db").arg(seed).arg(dumps.size())));
        QString error;
        QVERIFY2(farm.build(250, seed, false, false, &error), qPrintable(error));
        QStringList all;
        for (const QString& statement : dump.split(u';'))
            all += farm.rows(statement);
        dumps.append(all);
    }
    QCOMPARE(dumps.at(0), dumps.at(1));
    QVERIFY(dumps.at(0) != dumps.at(2));
}

void TestFarm::herdLooksLikeAHerd()
{
    Farm farm(path(QStringLiteral("herd.db")));
    QString error;
    QVERIFY2(farm.build(600, 3, false, false, &error), qPrintable(error));

    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM Main")).toInt(), 600);
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM cowStatusView")).toInt(), 600);
    for (const QString& sex : {kFemale, kFreemartin, QStringLiteral("نر")})
        QVERIFY2(farm.value(QStringLiteral("SELECT count(*) FROM Main WHERE Sex = ") + quoted(sex)).toInt() >
                     0,
                 qPrintable(sex));
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM Main WHERE Existcode < 2")).toInt() > 400);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM Main WHERE Existcode >= 2")).toInt() > 0);
    QCOMPARE(farm.value(QStringLiteral(
                            "SELECT count(*) FROM Main WHERE length(Body) <> 5 OR Body GLOB '*[^0-9]*'"))
                 .toInt(),
             0);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM Main WHERE BodyRepeate > 0")).toInt() > 0);
    // The entry looks a body up among the present cows and takes the first row: one cow each.
    QVERIFY(farm.rows(QStringLiteral(
                          "SELECT Body FROM Main WHERE Existcode < 2 GROUP BY Body HAVING count(*) > 1"))
                .isEmpty());
    QCOMPARE(
        farm.value(QStringLiteral("SELECT min(MilkPeriod) || '-' || max(MilkPeriod) FROM Main")).toString(),
        QStringLiteral("0-7"));
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM Main WHERE Sex <> ")
                            .append(quoted(kFemale))
                            .append(QStringLiteral(" AND MilkPeriod > 0")))
                 .toInt(),
             0);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM cowStatusView WHERE LastBriding = ") +
                       quoted(kPregnant))
                .toInt() > 0);
    // Dates are complete solar texts not after today.
    for (const QString& column : {QStringLiteral("ZDate"), QStringLiteral("LastTDate"),
                                  QStringLiteral("MilkAmountSumDate"), QStringLiteral("DryStartDate")}) {
        QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM CowStatus WHERE %1 IS NOT NULL").arg(column))
                    .toInt() > 0);
        QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM CowStatus WHERE %1 NOT GLOB "
                                           "'1[34][0-9][0-9]/[01][0-9]/[0-3][0-9]' OR %1 > '1405/09/20'")
                                .arg(column))
                     .toInt(),
                 0);
    }
    // The suggested-entry list's default query finds candidates.
    QVERIFY(farm.rows(kDefaultQuery.join(u'\n')).size() > 20);
    QCOMPARE(
        farm.value(QStringLiteral("SELECT count(*) FROM FrComments WHERE GroupSec = 'دكتر' AND IsActive = 1"))
            .toInt(),
        5);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM FrComments WHERE GroupSec = 'علت خروج پروتكل' "
                                      "AND IsActive = 1"))
                .toInt() >= 4);
}

void TestFarm::textsSurviveTheCodePage()
{
    Farm farm(path(QStringLiteral("texts.db")));
    QString error;
    QVERIFY2(farm.build(400, 5, true, true, &error), qPrintable(error));
    const QStringList texts = farm.rows(QStringLiteral(
        "SELECT Sex FROM Main UNION SELECT CowKind FROM CowStatus UNION SELECT LastBriding FROM CowStatus "
        "UNION SELECT TalghihStatus FROM CowStatus UNION SELECT ZSittuation FROM CowStatus "
        "UNION SELECT Comment FROM FrComments UNION SELECT GroupSec FROM FrComments UNION SELECT KeyValue "
        "FROM Info "
        "UNION SELECT ProName FROM P_ProtocolDesign UNION SELECT PAct FROM P_ProtocolDesign"));
    QVERIFY(texts.size() > 30);
    for (const QString& text : texts) {
        QVERIFY2(!text.contains(QChar(0x06CC)) && !text.contains(QChar(0x06A9)), qPrintable(text));
        QCOMPARE(textfile::decode(textfile::encode(text)), text);
    }
}

void TestFarm::splitBatches_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("batches");
    QTest::newRow("batches end at GO in any case with blanks around")
        << QStringList{"SELECT 1", "go", "SELECT 2", "FROM t", "  Go  ", "SELECT 3", "GO"}
        << QStringList{"SELECT 1", "SELECT 2\nFROM t", "SELECT 3"};
    QTest::newRow("comment and empty lines go, indented comments stay")
        << QStringList{"-- head", "SELECT 1", "", "// note", "  -- kept", "FROM t", "GO"}
        << QStringList{"SELECT 1\n  -- kept\nFROM t"};
    QTest::newRow("blank batches are not run")
        << QStringList{"GO", "   ", "GO", "SELECT 1", "GO", "GO"} << QStringList{"SELECT 1"};
    QTest::newRow("GO with more on its line is a statement line")
        << QStringList{"SELECT 1", "GO 2", "GO"} << QStringList{"SELECT 1\nGO 2"};
    QTest::newRow("lines after the last GO are not run")
        << QStringList{"SELECT 1", "GO", "SELECT 2"} << QStringList{"SELECT 1"};
}

void TestFarm::splitBatches()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, batches);
    QCOMPARE(farm::splitBatches(lines), batches);
}

void TestFarm::scriptsSplitAsTheToolSplitsThem_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("sqlite setup") << kToolSetup;
    QTest::newRow("sample protocols") << kDemoProtocols;
    QTest::newRow("server setup") << kServerSetup;
}

// The generator runs the scripts with its own splitter; the tool's installation must see the
// same batches, read from the script in code page 1256.
void TestFarm::scriptsSplitAsTheToolSplitsThem()
{
    QFETCH(QString, script);
    QStringList lines;
    QString error;
    QVERIFY2(farm::readUtf8Lines(script, &lines, &error), qPrintable(error));
    QVERIFY(scripttext::isGoLine(lines.last()));
    QStringList tool;
    scripttext::removeCommentLines(lines);
    for (const scripttext::Batch& batch : scripttext::batches(lines))
        if (!batch.isBlank())
            tool.append(batch.text());
    QStringList all;
    QVERIFY2(farm::readUtf8Lines(script, &all, &error), qPrintable(error));
    QCOMPARE(farm::splitBatches(all), tool);

    const QString converted = path(QStringLiteral("ProSetup.Cmd"));
    QVERIFY2(farm::writeScriptCp1256(script, converted, &error), qPrintable(error));
    QStringList read;
    QVERIFY(textfile::readLines(converted, &read));
    QCOMPARE(read, all);
}

void TestFarm::setupCreatesTheToolObjects()
{
    Farm farm(path(QStringLiteral("setup.db")));
    QString error;
    QVERIFY2(farm.build(50, 1, true, false, &error), qPrintable(error));
    QCOMPARE(
        farm.rows(QStringLiteral("SELECT name, XType FROM sysobjects WHERE name LIKE 'p\\_%' ESCAPE '\\' "
                                 "ORDER BY name")),
        (QStringList{"P_ProtocolDesign|U", "P_vWork|V", "P_vWork_Update|TR", "P_Work|U"}));
    QSqlQuery query(farm.db());
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM P_vWork")));
    QStringList columns;
    for (int i = 0; i < query.record().count(); ++i)
        columns.append(query.record().fieldName(i));
    // The work list's grid order, then the key and the next level's day.
    QCOMPARE(columns, (QStringList{"ProName",
                                   "PCurLevel",
                                   "Body",
                                   "MilkPeriod",
                                   "PInDate",
                                   "StartCurActDate",
                                   "PLastAct",
                                   "PDoc",
                                   "NextLvlDate",
                                   "PNextAct",
                                   "DisIn",
                                   "CowKind",
                                   "LastBriding",
                                   "DateLastBriding",
                                   "TalghihStatus",
                                   "DateTalghih",
                                   "LastTDate",
                                   "TNum",
                                   "DryStartDate",
                                   "ZDate",
                                   "ZSDate",
                                   "ZSittuation",
                                   "MilkAmountSumDate",
                                   "MilkAmountSum",
                                   "BCode",
                                   "POutDate",
                                   "POutResone",
                                   "Serial",
                                   "ProID",
                                   "NextLvlDays"}));
}

void TestFarm::tableTestFindsTheTableInAnyCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::newRow("as the tool writes it") << "P_ProtocolDesign" << 1;
    QTest::newRow("small letters") << "p_protocoldesign" << 1;
    QTest::newRow("capitals") << "P_PROTOCOLDESIGN" << 1;
    QTest::newRow("enrolments") << "p_work" << 1;
    QTest::newRow("a view is no table") << "P_vWork" << 0;
    QTest::newRow("unknown") << "P_Nothing" << 0;
}

void TestFarm::tableTestFindsTheTableInAnyCase()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    Farm farm(path(QStringLiteral("catalogue.db")));
    QString error;
    QVERIFY2(farm.build(10, 1, true, false, &error), qPrintable(error));
    // The table test's statement after its rewrite into a count.
    const QString statement = QStringLiteral("Select Count( * ) As Res  FROM sysobjects WHERE (name = ") +
                              quoted(name) + QStringLiteral(") And XType='U'");
    QCOMPARE(farm.value(statement).toInt(), count);
}

void TestFarm::levelNumbersAreUnique()
{
    Farm farm(path(QStringLiteral("levels.db")));
    QString error;
    QVERIFY2(farm.build(10, 1, true, false, &error), qPrintable(error));
    QVERIFY(farm.exec(QStringLiteral(
        "INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES ('X', 1, 0, 'a')")));
    QVERIFY(farm.exec(QStringLiteral(
        "INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES ('Y', 1, 0, 'a')")));
    QVERIFY(farm.exec(QStringLiteral(
        "INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES ('X', 2, 3, 'b')")));
    QSqlQuery query(farm.db());
    QVERIFY(!query.exec(QStringLiteral(
        "INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES ('X', 2, 5, 'c')")));
    QVERIFY(!query.exec(
        QStringLiteral("UPDATE P_ProtocolDesign SET PLevel = 1 WHERE ProName = 'X' AND PLevel = 2")));
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_ProtocolDesign")).toInt(), 3);
}

void TestFarm::workListEditsReachTheEnrolment()
{
    Farm farm(path(QStringLiteral("edit.db")));
    QString error;
    QVERIFY2(farm.build(20, 1, true, false, &error), qPrintable(error));
    const QString insert = QStringLiteral(
        "INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, PDoc, StartCurActDate, PLastAct, PNextAct, "
        "NextLvlDays, POutDate, POutResone) VALUES ('A', '%1', 1, '1405/09/01', 'd', '1405/09/01', 'a1', "
        "'a2', '0', "
        "'', '')");
    QVERIFY(farm.exec(insert.arg(QStringLiteral("100001"))));
    QVERIFY(farm.exec(insert.arg(QStringLiteral("100002"))));
    // A cow the herd does not know still has its row in the work list.
    QVERIFY(farm.exec(insert.arg(QStringLiteral("999999"))));
    QCOMPARE(farm.rows(QStringLiteral("SELECT Serial, Body IS NULL FROM P_vWork ORDER BY ProID")),
             (QStringList{"100001|0", "100002|0", "999999|1"}));

    // What a group advance and a group exit post through the view.
    QVERIFY(farm.exec(QStringLiteral(
        "UPDATE P_vWork SET PLastAct = 'a2', PNextAct = 'a3', NextLvlDays = '9', PCurLevel = 2, "
        "StartCurActDate = '1405/09/08' WHERE ProID = 2")));
    QVERIFY(farm.exec(
        QStringLiteral("UPDATE P_vWork SET POutDate = '1405/09/10', POutResone = 'r' WHERE ProID = 3")));
    QCOMPARE(
        farm.rows(QStringLiteral("SELECT ProID, PCurLevel, StartCurActDate, PLastAct, PNextAct, NextLvlDays, "
                                 "POutDate, POutResone FROM P_Work ORDER BY ProID")),
        (QStringList{"1|1|1405/09/01|a1|a2|0||", "2|2|1405/09/08|a2|a3|9||",
                     "3|1|1405/09/01|a1|a2|0|1405/09/10|r"}));
}

void TestFarm::blankOutDateCountsAsOpen_data()
{
    QTest::addColumn<QVariant>("outDate");
    QTest::addColumn<bool>("open");
    QTest::newRow("NULL") << QVariant() << true;
    QTest::newRow("empty") << QVariant(QStringLiteral("")) << true;
    QTest::newRow("blanks only") << QVariant(QStringLiteral("    ")) << true;
    QTest::newRow("a date") << QVariant(QStringLiteral("1405/09/10")) << false;
    QTest::newRow("a date after blanks") << QVariant(QStringLiteral(" 1405/09/10")) << false;
}

void TestFarm::blankOutDateCountsAsOpen()
{
    QFETCH(QVariant, outDate);
    QFETCH(bool, open);
    Farm farm(path(QStringLiteral("open.db")));
    QString error;
    QVERIFY2(farm.build(10, 1, true, false, &error), qPrintable(error));
    QSqlQuery query(farm.db());
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO P_Work (ProName, Serial, PCurLevel, POutDate) "
                                         "VALUES ('A', '100003', 1, ?)")));
    query.addBindValue(outDate);
    QVERIFY(query.exec());
    const QString body =
        farm.value(QStringLiteral("SELECT Body FROM Main WHERE Serial = '100003'")).toString();

    QCOMPARE(!farm.rows(kOpenBySerial + quoted(QStringLiteral("100003"))).isEmpty(), open);
    QCOMPARE(!farm.rows(kOpenByBody + quoted(body) + kOpenByBodyTail).isEmpty(), open);
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE POutDate = '' OR POutDate IS NULL"))
                 .toInt(),
             open ? 1 : 0);
}

void TestFarm::computeDis_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("inDate");
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<QVariant>("outDate");
    QTest::addColumn<QString>("nextDate");
    QTest::addColumn<QVariant>("daysIn");

    // Protocol A has levels 1, 2 and 4 (days 0, 7, 10); B has 1, 2, 3 (days 0, 3, 33). Today is 1405/09/20.
    const QVariant open;
    QTest::newRow("next level") << "A" << 1 << "1405/09/01"
                                << "1405/09/01" << open << "1405/09/08" << QVariant(19);
    QTest::newRow("a gap makes level 2 the last") << "A" << 2 << "1405/09/01"
                                                  << "1405/09/08" << open << "" << QVariant(19);
    QTest::newRow("level after the gap") << "A" << 4 << "1405/09/01"
                                         << "1405/09/11" << open << "" << QVariant(19);
    QTest::newRow("level missing from the design") << "A" << 3 << "1405/09/01"
                                                   << "1405/09/10" << open << "" << QVariant(19);
    QTest::newRow("unknown protocol") << "Z" << 1 << "1405/09/01"
                                      << "1405/09/01" << open << "" << QVariant(19);
    QTest::newRow("across the end of a 31-day month") << "B" << 2 << "1405/06/17"
                                                      << "1405/06/20" << open << "1405/07/19" << QVariant(94);
    QTest::newRow("into the new year after a leap year")
        << "B" << 1 << "1403/12/28"
        << "1403/12/28" << QVariant(QStringLiteral("1404/01/05")) << "1404/01/01" << QVariant(7);
    QTest::newRow("into the new year after a common year")
        << "B" << 1 << "1404/12/28"
        << "1404/12/28" << QVariant(QStringLiteral("1405/01/05")) << "1405/01/02" << QVariant(6);
    QTest::newRow("open with an empty exit date")
        << "B" << 1 << "1405/09/15"
        << "1405/09/15" << QVariant(QStringLiteral("")) << "1405/09/18" << QVariant(5);
    QTest::newRow("open with blanks for the exit date")
        << "B" << 1 << "1405/09/15"
        << "1405/09/15" << QVariant(QStringLiteral("  ")) << "1405/09/18" << QVariant(5);
    QTest::newRow("closed counts to the exit")
        << "B" << 3 << "1405/01/01"
        << "1405/02/03" << QVariant(QStringLiteral("1405/02/10")) << "" << QVariant(40);
    QTest::newRow("no start date") << "B" << 1 << "1405/09/15"
                                   << "" << open << "" << QVariant(5);
    QTest::newRow("no entry date") << "B" << 1 << ""
                                   << "1405/09/15" << open << "1405/09/18" << QVariant();
    QTest::newRow("an exit date that is no date")
        << "B" << 1 << "1405/09/15"
        << "1405/09/15" << QVariant(QStringLiteral("x")) << "1405/09/18" << QVariant();
}

void TestFarm::computeDis()
{
    QFETCH(QString, protocol);
    QFETCH(int, level);
    QFETCH(QString, inDate);
    QFETCH(QString, startDate);
    QFETCH(QVariant, outDate);
    QFETCH(QString, nextDate);
    QFETCH(QVariant, daysIn);

    Farm farm(path(QStringLiteral("dis.db")));
    QString error;
    QVERIFY2(farm.build(10, 1, true, false, &error), qPrintable(error));
    QVERIFY(farm.exec(QStringLiteral("INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES "
                                     "('A', 1, 0, 'a1'), ('A', 2, 7, 'a2'), ('A', 4, 10, 'a4'), "
                                     "('B', 1, 0, 'b1'), ('B', 2, 3, 'b2'), ('B', 3, 33, 'b3')")));
    QSqlQuery query(farm.db());
    QVERIFY(query.prepare(
        QStringLiteral("INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, StartCurActDate, "
                       "POutDate, NextLvlDate, DisIn) VALUES (?, '100001', ?, ?, ?, ?, 'old', -1)")));
    for (const QVariant& value :
         {QVariant(protocol), QVariant(level), QVariant(inDate), QVariant(startDate), outDate})
        query.addBindValue(value);
    QVERIFY(query.exec());

    QVERIFY2(sqliteproc::computeDis(farm.db(), QStringLiteral("1405/09/20"), &error), qPrintable(error));
    QCOMPARE(farm.value(QStringLiteral("SELECT NextLvlDate FROM P_Work")).toString(), nextDate);
    const QVariant dis = farm.value(QStringLiteral("SELECT DisIn FROM P_Work"));
    QCOMPARE(dis.isNull(), daysIn.isNull());
    if (!daysIn.isNull())
        QCOMPARE(dis.toInt(), daysIn.toInt());
    // The work list shows the same.
    QCOMPARE(farm.value(QStringLiteral("SELECT NextLvlDate FROM P_vWork")).toString(), nextDate);
}

void TestFarm::computeDisFollowsToday()
{
    Farm farm(path(QStringLiteral("today.db")));
    QString error;
    QVERIFY2(farm.build(300, 2, true, true, &error), qPrintable(error));
    QVERIFY2(farm::generateEnrolments(farm.db(), 300, 4, &error), qPrintable(error));
    const QString isOpen = QStringLiteral("(POutDate IS NULL OR trim(POutDate) = '')");
    const QString dueDates = QStringLiteral("SELECT ProID, NextLvlDate FROM P_Work ORDER BY ProID");
    const QString closed =
        QStringLiteral("SELECT ProID, DisIn FROM P_Work WHERE NOT %1 ORDER BY ProID").arg(isOpen);
    const QString all = QStringLiteral("SELECT ProID, NextLvlDate, DisIn FROM P_Work ORDER BY ProID");
    QVERIFY2(sqliteproc::computeDis(farm.db(), QStringLiteral("1405/09/20"), &error), qPrintable(error));
    const QStringList before = farm.rows(all);
    const QStringList dueBefore = farm.rows(dueDates);
    const QStringList closedBefore = farm.rows(closed);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE ") + isOpen).toInt() > 50);
    QVERIFY(closedBefore.size() > 50);

    QVERIFY2(sqliteproc::computeDis(farm.db(), QStringLiteral("1405/09/20"), &error), qPrintable(error));
    QCOMPARE(farm.rows(all), before);

    // A later day moves the open enrolments' days in treatment only.
    QVERIFY2(sqliteproc::computeDis(farm.db(), QStringLiteral("1405/10/05"), &error), qPrintable(error));
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE %1 AND DisIn IS NOT "
                                       "solar_days_between(PInDate, '1405/10/05')")
                            .arg(isOpen))
                 .toInt(),
             0);
    QCOMPARE(farm.rows(closed), closedBefore);
    QCOMPARE(farm.rows(dueDates), dueBefore);
}

void TestFarm::solarFunctions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("result");
    const QVariant null;
    QTest::newRow("add across a month end")
        << "solar_add_days('1405/06/31', 1)" << QVariant(QStringLiteral("1405/07/01"));
    QTest::newRow("add backwards over a year")
        << "solar_add_days('1405/01/01', -1)" << QVariant(QStringLiteral("1404/12/29"));
    QTest::newRow("a day beyond the month counts on")
        << "solar_add_days('1405/07/31', 0)" << QVariant(QStringLiteral("1405/08/01"));
    QTest::newRow("days as text") << "solar_add_days('1405/09/20', '10')"
                                  << QVariant(QStringLiteral("1405/09/30"));
    QTest::newRow("days that are no number") << "solar_add_days('1405/09/20', 'x')" << null;
    QTest::newRow("NULL days") << "solar_add_days('1405/09/20', NULL)" << null;
    QTest::newRow("no date") << "solar_add_days('1405/13/01', 1)" << null;
    QTest::newRow("NULL date") << "solar_add_days(NULL, 1)" << null;
    QTest::newRow("between across a year end")
        << "solar_days_between('1404/12/29', '1405/01/02')" << QVariant(2);
    QTest::newRow("between backwards") << "solar_days_between('1405/01/02', '1404/12/29')" << QVariant(-2);
    QTest::newRow("between with NULL") << "solar_days_between(NULL, '1405/01/02')" << null;
    QTest::newRow("between with no date") << "solar_days_between('1405/01/02', '')" << null;
    QTest::newRow("today from the program clock")
        << "solar_today()" << QVariant(QStringLiteral("1405/09/20"));
}

void TestFarm::solarFunctions()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, result);
    Farm farm(path(QStringLiteral("functions.db")));
    QString error;
    QVERIFY2(sqliteproc::registerSolarFunctions(farm.db(), &error), qPrintable(error));
    const QVariant value = farm.value(QStringLiteral("SELECT ") + expression);
    QCOMPARE(value.isNull(), result.isNull());
    if (!result.isNull())
        QCOMPARE(value.toString(), result.toString());
}

void TestFarm::demoProtocolsAreConsistent()
{
    Farm farm(path(QStringLiteral("demo.db")));
    QString error;
    QVERIFY2(farm.build(400, 1, true, true, &error), qPrintable(error));

    // Levels run from 1 without a gap and the last one is the end.
    const QStringList protocols =
        farm.rows(QStringLiteral("SELECT DisTinct ProName From [P_ProtocolDesign]"));
    QVERIFY(protocols.size() >= 2);
    for (const QString& name : protocols) {
        const QString where = QStringLiteral(" FROM P_ProtocolDesign WHERE ProName = ") + quoted(name);
        QCOMPARE(
            farm.value(QStringLiteral("SELECT min(PLevel) || '-' || (max(PLevel) - count(*) + 1)") + where)
                .toString(),
            QStringLiteral("1-1"));
        QCOMPARE(farm.value(QStringLiteral("SELECT PAct") + where +
                            QStringLiteral(" ORDER BY PLevel DESC LIMIT 1"))
                     .toString(),
                 kEnd);
        QCOMPARE(farm.value(QStringLiteral("SELECT count(*)") + where + QStringLiteral(" AND PAct = ") +
                            quoted(kEnd))
                     .toInt(),
                 1);
    }

    // Enrolments of known cows, at most one open each, with actions from the design.
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM P_Work")).toInt() >= 24);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE POutDate <> ''")).toInt() > 0);
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_vWork WHERE Body IS NULL")).toInt(), 0);
    QVERIFY(farm.rows(QStringLiteral("SELECT Serial FROM P_Work WHERE POutDate = '' OR POutDate IS NULL "
                                     "GROUP BY Serial HAVING count(*) > 1"))
                .isEmpty());
    QCOMPARE(
        farm
            .value(QStringLiteral(
                "SELECT count(*) FROM P_Work w JOIN P_ProtocolDesign d ON d.ProName = w.ProName AND "
                "d.PLevel = w.PCurLevel LEFT JOIN P_ProtocolDesign n ON n.ProName = w.ProName AND "
                "n.PLevel = w.PCurLevel + 1 WHERE w.PLastAct = d.PAct AND w.PNextAct = COALESCE(n.PAct, '') "
                "AND w.PInDate <= w.StartCurActDate AND w.StartCurActDate <= '1405/09/20' "
                "AND (w.POutDate = '' OR (w.POutDate >= w.StartCurActDate AND w.POutResone <> ''))"))
            .toInt(),
        farm.value(QStringLiteral("SELECT count(*) FROM P_Work")).toInt());
    QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_Work w JOIN Main m ON m.Serial = w.Serial "
                                       "WHERE w.POutDate = '' AND (m.Existcode >= 2 OR m.Sex NOT LIKE '%") +
                        kFemale + QStringLiteral("%')"))
                 .toInt(),
             0);

    // The script's own due dates are those the tool computes.
    const QString figures = QStringLiteral("SELECT ProID, NextLvlDate, DisIn FROM P_Work ORDER BY ProID");
    const QStringList scripted = farm.rows(figures);
    QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE NextLvlDate <> ''")).toInt() > 10);
    QVERIFY2(sqliteproc::computeDis(farm.db(), QStringLiteral("1405/09/20"), &error), qPrintable(error));
    QCOMPARE(farm.rows(figures), scripted);
}

void TestFarm::generatedEnrolments()
{
    QList<QStringList> dumps;
    for (int i = 0; i < 2; ++i) {
        Farm farm(path(QStringLiteral("enrol-%1.db").arg(i)));
        QString error;
        QVERIFY2(farm.build(300, 9, true, true, &error), qPrintable(error));
        const int demo = farm.value(QStringLiteral("SELECT count(*) FROM P_Work")).toInt();
        QVERIFY2(farm::generateEnrolments(farm.db(), 1000, 11, &error), qPrintable(error));
        QCOMPARE(farm.value(QStringLiteral("SELECT count(*) FROM P_Work")).toInt(), demo + 1000);
        const QString isOpen = QStringLiteral("(POutDate IS NULL OR POutDate = '')");
        QVERIFY(farm.value(QStringLiteral("SELECT count(*) FROM P_Work WHERE ") + isOpen).toInt() > 100);
        QVERIFY(
            farm.rows(QStringLiteral("SELECT Serial FROM P_Work WHERE %1 GROUP BY Serial HAVING count(*) > 1")
                          .arg(isOpen))
                .isEmpty());
        QCOMPARE(
            farm.value(
                    QStringLiteral(
                        "SELECT count(*) FROM P_Work w JOIN P_ProtocolDesign d ON d.ProName = w.ProName AND "
                        "d.PLevel = w.PCurLevel LEFT JOIN P_ProtocolDesign n ON n.ProName = w.ProName AND "
                        "n.PLevel = w.PCurLevel + 1 WHERE w.PLastAct = d.PAct "
                        "AND w.PNextAct = COALESCE(n.PAct, '') AND w.PInDate <= w.StartCurActDate "
                        "AND w.StartCurActDate <= '1405/09/20' AND (%1 OR (w.POutDate >= w.StartCurActDate "
                        "AND w.POutDate <= '1405/09/20' AND w.POutResone <> ''))")
                        .arg(isOpen))
                .toInt(),
            demo + 1000);
        dumps.append(farm.rows(QStringLiteral("SELECT * FROM P_Work ORDER BY ProID")));
    }
    QCOMPARE(dumps.at(0), dumps.at(1));
}

void TestFarm::scriptInCodePage1256_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("written");
    QTest::newRow("Arabic Yeh and Kaf") << QStringLiteral("SELECT 'دكتر علي'\nGO\n") << true;
    const QString keheh(QChar(0x06A9));
    const QString farsiYeh(QChar(0x06CC));
    QTest::newRow("Persian look-alike letters")
        << QStringLiteral("SELECT 'د") + keheh + QStringLiteral("تر عل") + farsiYeh +
               QStringLiteral("'\nGO\n")
        << false;
}

void TestFarm::scriptInCodePage1256()
{
    QFETCH(QString, text);
    QFETCH(bool, written);
    const QString source = path(QStringLiteral("source.sql"));
    const QString target = path(QStringLiteral("ProSetup.Cmd"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();

    QString error;
    QCOMPARE(farm::writeScriptCp1256(source, target, &error), written);
    QCOMPARE(QFile::exists(target), written);
    if (written) {
        QFile result(target);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), textfile::encode(text).replace("\n", "\r\n"));
    }
}

QTEST_GUILESS_MAIN(TestFarm)
#include "tst_farm.moc"
