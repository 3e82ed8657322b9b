#include "services/AppControl.h"
#include "services/Dialogs.h"
#include "services/Paths.h"
#include "services/ScriptText.h"
#include "services/SqlText.h"
#include "services/TextFile.h"
#include "services/ToolsUnit.h"
#include "tests/TestSupport.h"

#include <QFile>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The services on a real SQLite file: a small farm with a table, a view and the catalogue view.
class TestServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void execSqlCounts_data();
    void execSqlCounts();
    void execSqlRefusesCount();
    void execSqlTwoColumnsFails();
    void execSqlOtherStatements();
    void returnParameters();
    void createList();
    void tableExists_data();
    void tableExists();
    void exceptMessageCut();
    void questionAndInput();
    void waitBox();
    void dateMessages_data();
    void dateMessages();
    void textFiles();
    void sqlText();
    void scriptComments_data();
    void scriptComments();
    void scriptBatches();

private:
    QByteArray traceBytes(const QString& name) const;

    QTemporaryDir* m_dir = nullptr;
    TTools* m_tools = nullptr;
};

void TestServices::initTestCase() { testsupport::initGuiTest(); }

void TestServices::init()
{
    testsupport::resetSession();
    m_dir = new QTemporaryDir;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("farm"));
    db.setDatabaseName(m_dir->filePath(QStringLiteral("farm.db")));
    QVERIFY(db.open());
    QSqlQuery q(db);
    for (const char* sql : {
             "CREATE TABLE P_Work (ProID INTEGER PRIMARY KEY, ProName TEXT, Serial TEXT, POutDate TEXT)",
             "CREATE VIEW P_vWork AS SELECT * FROM P_Work",
             "CREATE VIEW sysobjects AS SELECT name COLLATE NOCASE AS name, CASE type WHEN 'table' THEN 'U' "
             "WHEN 'view' THEN 'V' END AS XType FROM sqlite_master",
             "INSERT INTO P_Work (ProName, Serial) VALUES ('Ovsynch', '12'), ('Ovsynch', '13'), ('B', '12')",
         })
        QVERIFY2(q.exec(QString::fromLatin1(sql)), qPrintable(q.lastError().text()));
    m_tools = new TTools;
    m_tools->FormCreate();
    m_tools->setServerConnection(QStringLiteral("farm"));
}

void TestServices::cleanup()
{
    delete m_tools;
    m_tools = nullptr;
    QSqlDatabase::database(QStringLiteral("farm"), false).close();
    QSqlDatabase::removeDatabase(QStringLiteral("farm"));
    delete m_dir;
    QVERIFY(!testsupport::closeLeftoverModals());
}

QByteArray TestServices::traceBytes(const QString& name) const
{
    QFile file(paths::traceFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestServices::execSqlCounts_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("count");
    QTest::newRow("select star") << "Select * From P_Work Where Serial='12'" << 2;
    QTest::newRow("leading blanks, lower case") << "   select * from P_Work" << 3;
    QTest::newRow("one column") << "SELECT Serial FROM P_Work WHERE ProName='B'" << 1;
    QTest::newRow("from inside a longer name") << "Select * FROMP_Work" << -1; // not counted: fails
}

void TestServices::execSqlCounts()
{
    QFETCH(QString, statement);
    QFETCH(int, count);
    const int result = m_tools->ExecSql(statement);
    if (count < 0) {
        QCOMPARE(result, 0);
        QVERIFY(appcontrol::endRequested());
        return;
    }
    QCOMPARE(result, count);
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(!appcontrol::endRequested());
}

void TestServices::execSqlRefusesCount()
{
    // The letters count anywhere, even inside a quoted value, are taken for a programming error.
    m_tools->ExecSql(QStringLiteral("Select * From P_Work Where ProName='Discount'"));
    QVERIFY(appcontrol::endRequested());
    QCOMPARE(Dialogs::shownTexts().value(0), QStringLiteral("اشكال در برنامه نويسي"));
}

void TestServices::execSqlTwoColumnsFails()
{
    QFile::remove(paths::traceFile(QStringLiteral("SqlExecuteErrorLog.Txt")));
    const int result = m_tools->ExecSql(QStringLiteral("Select Serial, ProName From P_Work"));
    QCOMPARE(result, 0);
    QVERIFY(appcontrol::endRequested());
    const QString rewritten = QStringLiteral("Select Count( Serial, ProName ) As Res  From P_Work");
    QCOMPARE(traceBytes(QStringLiteral("SqlExecuteErrorLog.Txt")), textfile::encode(rewritten) + "\r\n");
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{QStringLiteral("اشكال در اجرا دستور . با برنامه نويس تماس بگيريد.- شمارش - \r") + rewritten});
}

void TestServices::execSqlOtherStatements()
{
    QCOMPARE(m_tools->ExecSql(QStringLiteral("UPDATE P_Work SET POutDate='' WHERE Serial='12'")), 0);
    QCOMPARE(m_tools->ExecSql(QStringLiteral("UPDATE NoSuchTable SET x=1")), -100);
    QCOMPARE(m_tools->ExecSql(QString()), 0);
    QCOMPARE(m_tools->ExecSql(QStringLiteral("     ")), 0);
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(!appcontrol::endRequested());
}

void TestServices::returnParameters()
{
    QCOMPARE(m_tools->ReturnParams().size(), 50);

    const QString persian = QStringLiteral("Select ProName, Serial, POutDate From P_Work Where ProName='خاتمه'");
    QVERIFY(m_tools->DoSqlAndReturnParameters(persian));
    QCOMPARE(m_tools->ReturnParams(), QStringList(3, QString()));
    QCOMPARE(traceBytes(QStringLiteral("Try Do Sql.Txt")), textfile::encode(persian) + "\r\n");

    QVERIFY(m_tools->DoSqlAndReturnParameters(QStringLiteral("Select ProID, Serial, POutDate From P_Work")));
    QCOMPARE(m_tools->ReturnParams(), (QStringList{QStringLiteral("1"), QStringLiteral("12"), QString()}));

    QVERIFY(!m_tools->DoSqlAndReturnParameters(QStringLiteral("Select nothing From Nowhere")));
    QCOMPARE(m_tools->ReturnParams(), QStringList{QString()});
}

void TestServices::createList()
{
    QStringList list{QStringLiteral("old")};
    QCOMPARE(m_tools->DoSqlForCreateList(QStringLiteral("Select Serial From P_Work Order By ProID"), list), 3);
    QCOMPARE(list, (QStringList{QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("12")}));
    QCOMPARE(m_tools->DoSqlForCreateList(QStringLiteral(" Select Serial From P_Work"), list), 0);
    QVERIFY(list.isEmpty());
    QCOMPARE(m_tools->DoSqlForCreateList(QStringLiteral("Select x From Nowhere"), list), 0);
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestServices::tableExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::newRow("table") << "P_Work" << true;
    QTest::newRow("table, other case") << "p_work" << true;
    QTest::newRow("view") << "P_vWork" << false;
    QTest::newRow("missing") << "P_ProtocolDesign" << false;
    QTest::newRow("quote in the name") << "P'Work" << false;
}

void TestServices::tableExists()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QCOMPARE(m_tools->IsTableExist(name), exists);
    QVERIFY(!appcontrol::endRequested());
}

void TestServices::exceptMessageCut()
{
    const QString tail = QString(u'\r') + QString(37, u'_') + QStringLiteral("\r\rپيام اصلي سيستم :\rdriver says");
    const QString exact(300, u'a');
    QCOMPARE(TTools::exceptMessageText(exact, QStringLiteral("driver says")), exact + tail);
    const QString longer(301, u'a');
    QCOMPARE(TTools::exceptMessageText(longer, QStringLiteral("driver says")),
             exact + u'\r' + QStringLiteral("(بدليل طولاني بودن ادامه دستور نمايش داده نمي شود)") + tail);
    m_tools->ShowExceptMsg(QStringLiteral("x"), QStringLiteral("y"));
    QCOMPARE(Dialogs::shown().value(0).caption, QStringLiteral("خطا"));
}

void TestServices::questionAndInput()
{
    Dialogs::queueButton(Dialogs::Yes);
    Dialogs::queueButton(Dialogs::Closed);
    QCOMPARE(m_tools->AskYesNo(QStringLiteral("?")), 6);
    QCOMPARE(m_tools->AskYesNo(QStringLiteral("?")), 2);

    // Blanks only: the box comes again; the accepted value is kept as typed.
    QString value = QStringLiteral("old");
    Dialogs::queueText(QStringLiteral("   "));
    Dialogs::queueText(QStringLiteral(" name "));
    QVERIFY(m_tools->InQuery(QStringLiteral("prompt"), value));
    QCOMPARE(value, QStringLiteral(" name "));
    QCOMPARE(Dialogs::shown().size(), 4);

    Dialogs::queueCancel();
    QVERIFY(!m_tools->InQuery(QStringLiteral("prompt"), value));
    QCOMPARE(value, QStringLiteral(" name "));
    QCOMPARE(Dialogs::pendingAnswers(), 0);
}

void TestServices::waitBox()
{
    m_tools->ShowBoxMessage();
    QVERIFY(m_tools->waitBox());
    QCOMPARE(m_tools->waitBoxText(), QStringLiteral("           لطفا صبر كنيد               "));
    QCOMPARE(m_tools->waitBox()->height(), 53);
    m_tools->ShowBoxMessage(QStringLiteral("next"));
    QCOMPARE(m_tools->waitBoxText(), QStringLiteral("next"));
    m_tools->ShowBoxClose();
    m_tools->ShowBoxClose();
    QVERIFY(!m_tools->waitBox());
}

void TestServices::dateMessages_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    auto invalid = [](const QString& s, const QString& reason) {
        return QStringLiteral(" تاريخ  ") + s + QStringLiteral("  صحيح نمي باشد") + u'\r' + reason;
    };
    QTest::newRow("valid") << " 1385/7/1 " << QString();
    QTest::newRow("slashes") << " 1385-07-01 " << invalid(QStringLiteral("1385-07-01"), QStringLiteral("تعداد / صحيح نيست"));
    QTest::newRow("digits") << "1385/07/0x"
                            << invalid(QStringLiteral("1385/07/0x"), QStringLiteral("جهت تاريخ از اعداد 0 تا 9 استفاده كنيد"));
    QTest::newRow("empty part") << "1385//01" << QStringLiteral("اشكال در ورود تاريخ");
    QTest::newRow("month") << "1385/13/01" << invalid(QStringLiteral("1385/13/01"), QStringLiteral("ماه صحيح نيست"));
    QTest::newRow("day") << "1385/07/32" << invalid(QStringLiteral("1385/07/32"), QStringLiteral("روز صحيح نيست"));
}

void TestServices::dateMessages()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QCOMPARE(m_tools->IsValidDate(text), message.isEmpty());
    QCOMPARE(Dialogs::shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    Dialogs::clearShown();
    const QString completed = m_tools->CompleateDate(text);
    QCOMPARE(completed, message.isEmpty() ? QStringLiteral("1385/07/1 ") : text);
}

void TestServices::textFiles()
{
    // "ماده" is e3 c7 cf e5 in code page 1256; lines end in CR LF and read back from any line end.
    QCOMPARE(textfile::encode(QStringLiteral("ماده")), QByteArray("\xe3\xc7\xcf\xe5"));
    const QString path = m_dir->filePath(QStringLiteral("lines.txt"));
    QVERIFY(textfile::writeLines(path, {QStringLiteral("ماده"), QString(), QStringLiteral("b")}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xe3\xc7\xcf\xe5\r\n\r\nb\r\n"));
    QCOMPARE(textfile::splitLines(QStringLiteral("a\nb\rc\r\n")),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QStringList lines;
    QVERIFY(!textfile::readLines(m_dir->filePath(QStringLiteral("missing")), &lines));
}

void TestServices::sqlText()
{
    QCOMPARE(sqltext::quoted(QStringLiteral("O'Neil")), QStringLiteral("'O''Neil'"));
    QCOMPARE(sqltext::padBody(QStringLiteral("12")), QStringLiteral("00012"));
    QCOMPARE(sqltext::padBody(QString()), QStringLiteral("00000"));
    QCOMPARE(sqltext::padBody(QStringLiteral("123456")), QStringLiteral("123456"));
    QVERIFY(sqltext::isWholeNumber(QStringLiteral("-12")));
    QVERIFY(!sqltext::isWholeNumber(QStringLiteral("1 OR 1=1")));
    QVERIFY(!sqltext::isWholeNumber(QStringLiteral("99999999999")));
}

void TestServices::scriptComments_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("kept");
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), go = QStringLiteral("GO");
    QTest::newRow("comment in the middle") << QStringList{a, QStringLiteral("-- c"), b, go} << QStringList{a, b, go};
    QTest::newRow("first-line comment stays alone")
        << QStringList{QStringLiteral("-- c"), a, go} << QStringList{QStringLiteral("-- c"), a, go};
    QTest::newRow("first-line comment goes with a later one")
        << QStringList{QStringLiteral("// c"), a, QString(), go} << QStringList{a, go};
    QTest::newRow("indented comment stays") << QStringList{a, QStringLiteral("  -- c"), go}
                                            << QStringList{a, QStringLiteral("  -- c"), go};
}

void TestServices::scriptComments()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, kept);
    scripttext::removeCommentLines(lines);
    QCOMPARE(lines, kept);
}

void TestServices::scriptBatches()
{
    auto texts = [](const QStringList& lines) {
        QStringList out;
        for (const auto& b : scripttext::batches(lines))
            out.append(QString::number(b.number) + u':' + b.text());
        return out;
    };
    QCOMPARE(texts({QStringLiteral("a"), QStringLiteral(" go "), QStringLiteral("b"), QStringLiteral("Go")}),
             (QStringList{QStringLiteral("1:a"), QStringLiteral("2:b")}));
    // The last line is never part of a batch; GO with more after it is no separator.
    QCOMPARE(texts({QStringLiteral("a"), QStringLiteral("GO 2"), QStringLiteral("b")}),
             (QStringList{QStringLiteral("1:a\nGO 2")}));
    // Two GO lines in a row: a blank batch that keeps its number.
    QCOMPARE(texts({QStringLiteral("a"), QStringLiteral("GO"), QStringLiteral("GO"), QStringLiteral("b"),
                    QStringLiteral("GO")}),
             (QStringList{QStringLiteral("1:a"), QStringLiteral("2:"), QStringLiteral("3:b")}));
    QCOMPARE(texts({}), QStringList());
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
