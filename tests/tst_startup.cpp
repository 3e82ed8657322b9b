#include "data/ConnectDialog.h"
#include "data/ConnectionSettings.h"
#include "data/DataUnit.h"
#include "data/Installer.h"
#include "data/MultiUserUnit.h"
#include "data/WorkListModel.h"
#include "group/MessageBoardUnit.h"
#include "platform/Platform.h"
#include "services/AppControl.h"
#include "services/Dialogs.h"
#include "services/Paths.h"
#include "services/TextFile.h"
#include "services/ToolsUnit.h"
#include "tests/FarmFixture.h"
#include "tests/TestSupport.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {
struct Halted
{
};

const QString kConnectFailed = QStringLiteral("خطا در اتصال به ديتابيس");
const QString kNotInstalled =
    QStringLiteral("نرم افزار پروتكل روي اين سيستم نصب نشده است . با شركت نوپاسار تماس بگيريد ");
} // namespace

// The start-up on real program folders: the services, the board and the chooser exist, then the
// data module is created as the program entry creates it.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void scrambling_data();
    void scrambling();
    void singleSite();
    void settingsFileFaults_data();
    void settingsFileFaults();
    void missingSettingsFileHalts();
    void toolNotInstalled();
    void dataSetsFail();
    void firstRunInstallation();
    void executerListShort();
    void scriptRun();
    void multiCustomerWithDialog();
    void multiCustomerNotConfirmed();
    void multiCustomerNoRegister();

private:
    void start();
    QStringList boardRows() const;
    void writeRegister(const QString& folder, const QStringList& names);

    std::unique_ptr<TMessageBoardForm> m_board;
    std::unique_ptr<TMultiUserForm> m_chooser;
    std::unique_ptr<TTools> m_tools;
    std::unique_ptr<TDm> m_dm;
};

void TestStartup::initTestCase()
{
    testsupport::initGuiTest();
    appcontrol::setHaltHandler([] { throw Halted{}; });
}

void TestStartup::init() { testsupport::resetSession(); }

void TestStartup::cleanup()
{
    m_dm.reset();
    m_tools.reset();
    m_chooser.reset();
    m_board.reset();
    QVERIFY(!testsupport::closeLeftoverModals());
}

void TestStartup::start()
{
    m_board = std::make_unique<TMessageBoardForm>();
    m_chooser = std::make_unique<TMultiUserForm>();
    m_tools = std::make_unique<TTools>();
    m_tools->setBoard(m_board.get());
    m_tools->FormCreate();
    m_dm = std::make_unique<TDm>();
}

QStringList TestStartup::boardRows() const { return m_board->lines(); }

void TestStartup::scrambling_data()
{
    QTest::addColumn<QByteArray>("clear");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("cfe");
    QByteArray longLine(130, 'x');
    QByteArray stored = longLine;
    for (int i = 0; i < stored.size(); ++i)
        stored[i] = char(uchar('x') ^ uchar((2 * (i + 1)) % 256));
    QTest::newRow("130 characters") << longLine << stored;
}

void TestStartup::scrambling()
{
    QFETCH(QByteArray, clear);
    QFETCH(QByteArray, stored);
    QCOMPARE(connsettings::scrambleLine(clear), stored);
    QCOMPARE(connsettings::scrambleLine(stored), clear);
    if (clear.size() >= 128)
        QCOMPARE(stored.at(127), clear.at(127)); // 2*128 mod 256 is 0
}

void TestStartup::singleSite()
{
    testsupport::FarmFolder folder;
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    start();
    QVERIFY(m_dm->isOpen());
    QVERIFY(!appcontrol::endRequested());
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(m_tools->waitBox()); // the main window's show step closes it
    QVERIFY(m_dm->TP_VWork()->rowCount() > 0);
    QVERIFY(m_dm->MP_ProtocolDesign()->rowCount() > 0);
    QVERIFY(m_dm->Sp1(m_tools->FarsiToday()));
    QCOMPARE(platform::lastKeyboardLayout(), QStringLiteral("00000429"));
}

void TestStartup::settingsFileFaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    // Lines stored clear are garbled by the descrambling: the connection fails.
    QTest::newRow("clear lines") << QByteArray("\r\nsqlite\r\nfarm.db\r\nsa\r\n") << kConnectFailed;
    QTest::newRow("wrong database") << connsettings::scrambleLine("") + "\r\n" + connsettings::scrambleLine("sqlite") +
                                           "\r\n" + connsettings::scrambleLine("other.db") + "\r\n" +
                                           connsettings::scrambleLine("sa") + "\r\n"
                                    << kConnectFailed;
    // Fewer than four lines: refused before any connection, with the reason.
    QTest::newRow("three lines") << connsettings::scrambleLine("") + "\r\n" + connsettings::scrambleLine("sqlite") +
                                        "\r\n" + connsettings::scrambleLine("farm.db") + "\r\n"
                                 << TTools::exceptMessageText(kConnectFailed, QString()).section(u'\r', 0, 0);
}

void TestStartup::settingsFileFaults()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    testsupport::FarmFolder folder;
    QFile file(folder.filePath(QStringLiteral("WTimes.DLL")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    start();
    QVERIFY(!m_dm->isOpen());
    QVERIFY(appcontrol::endRequested());
    QVERIFY(!Dialogs::shownTexts().isEmpty());
    QVERIFY(Dialogs::shownTexts().first().startsWith(message));
}

void TestStartup::missingSettingsFileHalts()
{
    testsupport::FarmFolder folder;
    QFile::remove(folder.filePath(QStringLiteral("WTimes.DLL")));
    m_tools = std::make_unique<TTools>();
    m_tools->FormCreate();
    bool halted = false;
    try {
        m_dm = std::make_unique<TDm>();
    } catch (const Halted&) {
        halted = true;
    }
    QVERIFY(halted);
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestStartup::toolNotInstalled()
{
    testsupport::FarmOptions options;
    options.installTool = false;
    testsupport::FarmFolder folder(options);
    start();
    QCOMPARE(Dialogs::shownTexts(), QStringList{kNotInstalled});
    QVERIFY(appcontrol::endRequested());
    QVERIFY(!m_board->isVisible()); // nothing was installed
}

void TestStartup::dataSetsFail()
{
    testsupport::FarmFolder folder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("break"));
        db.setDatabaseName(folder.farmFile());
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("DROP VIEW P_vWork"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("break"));
    start();
    QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("خطا در باز كردن جداول و انتصاب نام استور پروس")});
    QVERIFY(appcontrol::endRequested());
}

void TestStartup::firstRunInstallation()
{
    testsupport::FarmOptions options;
    options.installTool = false;
    options.setupScript = true;
    testsupport::FarmFolder folder(options);
    const QStringList suiteList{QStringLiteral("a=a.exe"), QStringLiteral("b=b.exe"), QStringLiteral("c=c.exe"),
                                QStringLiteral("d=d.exe"), QStringLiteral("e=e.exe")};
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("Executer.List")), suiteList));

    start();
    QVERIFY2(m_dm->isOpen(), qPrintable(Dialogs::shownTexts().join(u'|')));
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("ProSetup.Cmd"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("P_Install"))));
    QStringList lines;
    QVERIFY(textfile::readLines(folder.filePath(QStringLiteral("Executer.List")), &lines));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(4), installer::executerListLine());
    QCOMPARE(lines.at(5), QStringLiteral("e=e.exe"));
    // Every batch is logged as a success on the board.
    QVERIFY(!boardRows().isEmpty());
    for (const QString& row : boardRows())
        QVERIFY2(row.startsWith(QStringLiteral("موفقيت در=")), qPrintable(row));
    for (const char* object : {"P_ProtocolDesign", "P_Work"})
        QVERIFY(m_tools->IsTableExist(QString::fromLatin1(object)));

    // The marker keeps a second installation from adding the line again.
    installer::addToExecuterList(folder.path());
    QVERIFY(textfile::readLines(folder.filePath(QStringLiteral("Executer.List")), &lines));
    QCOMPARE(lines.size(), 6);
}

void TestStartup::executerListShort()
{
    testsupport::FarmOptions options;
    options.installTool = false;
    options.setupScript = true;
    testsupport::FarmFolder folder(options);
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("Executer.List")), {QStringLiteral("a=a.exe")}));
    start();
    QVERIFY(m_dm->isOpen());
    QStringList lines;
    QVERIFY(textfile::readLines(folder.filePath(QStringLiteral("Executer.List")), &lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("a=a.exe"), installer::executerListLine()}));
}

void TestStartup::scriptRun()
{
    testsupport::FarmFolder folder;
    start();
    QVERIFY(m_dm->isOpen());
    const QString script = folder.filePath(QStringLiteral("script.sql"));
    // A comment, a failing second batch, a mixed-case GO, two GO lines in a row, a last line
    // that is not GO and is therefore never run.
    QVERIFY(textfile::writeLines(script, {
                                             QStringLiteral("CREATE TABLE T1 (a INTEGER)"),
                                             QStringLiteral("-- a comment"),
                                             QStringLiteral("GO"),
                                             QStringLiteral("INSERT INTO Missing VALUES (1)"),
                                             QStringLiteral(" gO "),
                                             QStringLiteral("GO"),
                                             QStringLiteral("CREATE TABLE T2 (a INTEGER)"),
                                             QStringLiteral("GO"),
                                             QStringLiteral("CREATE TABLE T3 (a INTEGER)"),
                                         }));
    QVERIFY(m_tools->DoScriptFromfile(QStringLiteral("caption"), script));
    const QStringList rows = boardRows();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0), QStringLiteral("موفقيت در=1"));
    QCOMPARE(rows.at(1), QStringLiteral("خطا در 2=INSERT INTO Missing VALUES (1)"));
    QCOMPARE(rows.at(2), QStringLiteral("موفقيت در=4")); // batch 3 was blank
    QVERIFY(m_tools->IsTableExist(QStringLiteral("T2")));
    QVERIFY(!m_tools->IsTableExist(QStringLiteral("T3")));
    QCOMPARE(Dialogs::shownTexts().size(), 1);
    QVERIFY(Dialogs::shownTexts().first().contains(QStringLiteral("caption")));
    QVERIFY(Dialogs::shownTexts().first().contains(QStringLiteral("\r1 ")));

    QStringList copy;
    QVERIFY(textfile::readLines(paths::traceFile(QStringLiteral("Temp.Txt")), &copy));
    QCOMPARE(copy.size(), 9);

    Dialogs::clearShown();
    QVERIFY(!m_tools->DoScriptFromfile(QStringLiteral("caption"), folder.filePath(QStringLiteral("none.sql"))));
    QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("فايل پيدا نشد\r") + QStringLiteral("caption\r") +
                                                folder.filePath(QStringLiteral("none.sql"))});
}

void TestStartup::writeRegister(const QString& folderPath, const QStringList& names)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("register"));
        db.setDatabaseName(folderPath + QStringLiteral("Masters.db"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE Masters (DName TEXT, SName TEXT, SPass TEXT, EngDName TEXT)")));
        for (const QString& n : names) {
            q.prepare(QStringLiteral("INSERT INTO Masters VALUES (?, 'sqlite', '', ?)"));
            q.addBindValue(n);
            q.addBindValue(n == names.first() ? QStringLiteral("farm.db") : QStringLiteral("missing.db"));
            QVERIFY(q.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("register"));
}

void TestStartup::multiCustomerWithDialog()
{
    testsupport::FarmFolder folder;
    writeRegister(folder.path(), {QStringLiteral("دامداري الف"), QStringLiteral("دامداري ب")});
    QFile marker(folder.filePath(QStringLiteral("Multiusers.Dat")));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    QFile::remove(folder.filePath(QStringLiteral("WTimes.DLL"))); // not read in this mode

    QString layoutDuringDialog;
    testsupport::onModal<ConnectDialog>([&](ConnectDialog* dialog) {
        layoutDuringDialog = platform::lastKeyboardLayout();
        dialog->findChild<QLineEdit*>(QStringLiteral("Server"))->setText(QStringLiteral("sqlite"));
        dialog->findChild<QLineEdit*>(QStringLiteral("UserName"))->setText(QStringLiteral("sa"));
        dialog->findChild<QPushButton*>(QStringLiteral("ConnectButton"))->click();
    });
    bool pressedWithoutSelection = false;
    testsupport::onModal<TMultiUserForm>([&](TMultiUserForm* chooser) {
        chooser->dxButton1Click(); // nothing selected: stays open
        pressedWithoutSelection = chooser->isVisible();
        chooser->RadioGroup1()->setCurrentRow(0);
        chooser->RadioGroup1DblClick();
    });
    start();
    QVERIFY2(m_dm->isOpen(), qPrintable(Dialogs::shownTexts().join(u'|')));
    QVERIFY(pressedWithoutSelection);
    QCOMPARE(layoutDuringDialog, QStringLiteral("00000409"));
    QCOMPARE(platform::lastKeyboardLayout(), QStringLiteral("00000429"));
    QStringList lines;
    QVERIFY(textfile::readLines(folder.filePath(QStringLiteral("MultiConnect.Dat")), &lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("sqlite"), QStringLiteral("master"), QStringLiteral("sa"), QString()}));

    // The next start reads the file, asks for nothing, and the file grows by four lines.
    cleanup();
    testsupport::onModal<TMultiUserForm>([](TMultiUserForm* chooser) {
        chooser->RadioGroup1()->setCurrentRow(0);
        chooser->dxButton1Click();
    });
    start();
    QVERIFY(m_dm->isOpen());
    QVERIFY(textfile::readLines(folder.filePath(QStringLiteral("MultiConnect.Dat")), &lines));
    QCOMPARE(lines.size(), 8);
}

void TestStartup::multiCustomerNotConfirmed()
{
    testsupport::FarmFolder folder;
    writeRegister(folder.path(), {QStringLiteral("دامداري الف")});
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("Multiusers.Dat")), {}));
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("MultiConnect.Dat")),
                                 {QStringLiteral("sqlite"), QStringLiteral("master"), QStringLiteral("sa"), QString()}));
    testsupport::onModal<TMultiUserForm>([](TMultiUserForm* chooser) { chooser->reject(); });
    start();
    QVERIFY(appcontrol::endRequested());
    QVERIFY(!m_dm->isOpen());
}

void TestStartup::multiCustomerNoRegister()
{
    // The register connection is refused (no such SQLite file): the keyboard stays US English.
    testsupport::FarmFolder folder;
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("Multiusers.Dat")), {}));
    QVERIFY(textfile::writeLines(folder.filePath(QStringLiteral("MultiConnect.Dat")),
                                 {QStringLiteral("sqlite"), QStringLiteral("nothing"), QStringLiteral("sa"), QString()}));
    start();
    QVERIFY(appcontrol::endRequested());
    QCOMPARE(platform::lastKeyboardLayout(), QStringLiteral("00000409"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
