#include "group/BusyIndicator.h"
#include "group/MessageBoardUnit.h"
#include "platform/Platform.h"
#include "services/Dialogs.h"
#include "services/TextFile.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QString kCountPrefix = QStringLiteral("تعداد سطر : ");
const QString kBackCaption = QStringLiteral("برگشت");
const QString kSaveCaption = QStringLiteral("ذخيره گزارش");
const QString kEmptyList = QStringLiteral("ليست خالي است");
const QString kGroupExitTitle = QStringLiteral("خروج دام از پروتكل");
const QString kMore = QStringLiteral(" .. ");

QString chars(int count, char c)
{
    return QString(count, QLatin1Char(c));
}
} // namespace

class tst_MessageBoard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void splitsLongValues_data();
    void splitsLongValues();
    void showsKeyAndValueSplitAtFirstEquals();
    void countsEveryRowIncludingContinuations();
    void runDisablesButtonsAndShowsBusyStrip();
    void busyStripMovesPerRowAndStaysInside();
    void lastRowOfBurstGetsPainted();
    void startRecordingStretchesToScreenHeight();
    void keyColumnSideFollowsDirection_data();
    void keyColumnSideFollowsDirection();
    void keysGoBack_data();
    void keysGoBack();
    void postWhileHiddenAfterRunAppends();

    void saveEmptyBoardWritesNothing();
    void saveProposesName_data();
    void saveProposesName();
    void saveWritesCodePageFileAndOpensIt();
    void saveCancelledWritesNothing();
    void saveFailureReportsAndKeepsRows();

private:
    QTableView* list() const { return m_board->findChild<QTableView*>(QStringLiteral("MessageList")); }
    QPushButton* back() const { return m_board->findChild<QPushButton*>(QStringLiteral("dxButton1")); }
    QPushButton* save() const { return m_board->findChild<QPushButton*>(QStringLiteral("dxButton2")); }
    QLabel* count() const { return m_board->findChild<QLabel*>(QStringLiteral("Label1")); }
    BusyIndicator* busy() const { return m_board->findChild<BusyIndicator*>(QStringLiteral("PBT")); }
    QStringList savedFiles() const { return QDir(m_dir->path()).entryList(QDir::Files); }

    std::unique_ptr<TMessageBoardForm> m_board;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_MessageBoard::initTestCase()
{
    testsupport::initGuiTest();
}

void tst_MessageBoard::init()
{
    testsupport::resetSession();
    m_board = std::make_unique<TMessageBoardForm>();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(list() && back() && save() && count() && busy());
    QCOMPARE(back()->text(), kBackCaption);
    QCOMPARE(save()->text(), kSaveCaption);
}

void tst_MessageBoard::cleanup()
{
    m_board.reset();
    m_dir.reset();
    QVERIFY(!testsupport::closeLeftoverModals());
}

void tst_MessageBoard::splitsLongValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("70 chars, one row") << "k" << chars(70, 'a') << QStringList{"k=" + chars(70, 'a')};
    QTest::newRow("71 chars, one char carried on")
        << "k" << chars(71, 'a') << QStringList{"k=" + chars(70, 'a'), kMore + "=a"};
    // The first cut ignores blanks; later pieces end at the first blank at position 70 or later.
    QTest::newRow("200 chars, only blank at 160")
        << "k" << chars(159, 'a') + u' ' + chars(40, 'b')
        << QStringList{"k=" + chars(70, 'a'), kMore + "=" + chars(89, 'a') + u' ',
                       kMore + "=" + chars(40, 'b')};
    QTest::newRow("150 chars, no blank")
        << "k" << chars(150, 'a') << QStringList{"k=" + chars(70, 'a'), kMore + "=" + chars(80, 'a')};
    QTest::newRow("blank early in the rest does not cut it")
        << "k" << chars(70, 'a') + chars(10, 'b') + u' ' + chars(100, 'c')
        << QStringList{"k=" + chars(70, 'a'), kMore + "=" + chars(10, 'b') + u' ' + chars(100, 'c')};
    QTest::newRow("blank exactly at position 70 of the rest")
        << "k" << chars(70, 'a') + chars(69, 'b') + u' ' + chars(10, 'c')
        << QStringList{"k=" + chars(70, 'a'), kMore + "=" + chars(69, 'b') + u' ',
                       kMore + "=" + chars(10, 'c')};
    QTest::newRow("empty value, one row") << "k" << QString() << QStringList{"k="};
    QTest::newRow("empty key stays empty") << QString() << "v" << QStringList{"=v"};
}

void tst_MessageBoard::splitsLongValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, lines);

    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(key, value);
    QCOMPARE(m_board->lines(), lines);
}

void tst_MessageBoard::showsKeyAndValueSplitAtFirstEquals()
{
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1234"), kGroupExitTitle);
    // Kept as "a=b=c": on the way back the key's own "=" becomes the separator.
    m_board->PostThisMessage(QStringLiteral("a=b"), QStringLiteral("c"));

    const QAbstractItemModel* model = list()->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("1234"));
    QCOMPARE(model->index(0, 1).data().toString(), kGroupExitTitle);
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("a"));
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("b=c"));
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
}

void tst_MessageBoard::countsEveryRowIncludingContinuations()
{
    m_board->StartRecording(true, kGroupExitTitle);
    QVERIFY(count()->text().isEmpty());
    m_board->PostThisMessage(QStringLiteral("1"), chars(150, 'a'));
    QCOMPARE(count()->text(), kCountPrefix + "2");
    for (int i = 0; i < 10; ++i)
        m_board->PostThisMessage(QString::number(i), QStringLiteral("x"));
    m_board->StopRecording();
    QCOMPARE(count()->text(), kCountPrefix + "12");

    // A new run empties both the rows and the count.
    m_board->StartRecording(true, kGroupExitTitle);
    QVERIFY(m_board->lines().isEmpty());
    QVERIFY(count()->text().isEmpty());
    QCOMPARE(m_board->windowTitle(), kGroupExitTitle);
}

void tst_MessageBoard::runDisablesButtonsAndShowsBusyStrip()
{
    QVERIFY(!m_board->isVisible());
    QVERIFY(busy()->isHidden());

    m_board->StartRecording(true, kGroupExitTitle);
    QVERIFY(m_board->isVisible());
    QVERIFY(!m_board->isModal());
    QVERIFY(m_board->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!back()->isEnabled());
    QVERIFY(!save()->isEnabled());
    QVERIFY(busy()->isVisible());

    m_board->PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    QVERIFY(!back()->isEnabled());
    QVERIFY(busy()->isVisible());

    m_board->StopRecording();
    QVERIFY(m_board->isVisible());
    QVERIFY(back()->isEnabled());
    QVERIFY(save()->isEnabled());
    QVERIFY(busy()->isHidden());
    QCOMPARE(m_board->lines().size(), 1);
}

void tst_MessageBoard::busyStripMovesPerRowAndStaysInside()
{
    m_board->StartRecording(true, kGroupExitTitle);
    const int travel = busy()->width() - BusyIndicator::kBlockWidth;
    QVERIFY(travel > BusyIndicator::kStepsPerTick);

    const int before = busy()->blockPosition();
    m_board->PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    QCOMPARE(qAbs(busy()->blockPosition() - before), BusyIndicator::kStepsPerTick);

    // Long enough to reach both ends: the block turns back and never leaves the strip.
    bool turned = false;
    const bool forward = busy()->movingForward();
    for (int i = 0; i < 2 * travel; ++i) {
        busy()->tick();
        QVERIFY(busy()->blockPosition() >= 0 && busy()->blockPosition() <= travel);
        turned = turned || busy()->movingForward() != forward;
    }
    QVERIFY(turned);
}

void tst_MessageBoard::lastRowOfBurstGetsPainted()
{
    m_board->StartRecording(true, kGroupExitTitle);
    PaintCounter counter;
    count()->installEventFilter(&counter);
    for (int i = 0; i < 50; ++i)
        m_board->PostThisMessage(QString::number(i), QStringLiteral("v"));

    // Posted microseconds after the one before, so its paint is held back; it must still come,
    // either within the post or when the events are next served.
    counter.paints = 0;
    m_board->PostThisMessage(QStringLiteral("last"), QStringLiteral("v"));
    QCoreApplication::processEvents();
    QVERIFY(counter.paints > 0);
}

void tst_MessageBoard::startRecordingStretchesToScreenHeight()
{
    m_board->show();
    m_board->move(37, 120);
    const int x = m_board->frameGeometry().x();
    m_board->StartRecording(true, kGroupExitTitle);

    const QRect available = m_board->screen()->availableGeometry();
    QCOMPARE(m_board->frameGeometry().height(), available.height() - 40);
    QCOMPARE(m_board->frameGeometry().top(), available.top());
    QCOMPARE(m_board->frameGeometry().x(), x);
}

void tst_MessageBoard::keyColumnSideFollowsDirection_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::newRow("right to left") << true;
    QTest::newRow("left to right") << false;
}

void tst_MessageBoard::keyColumnSideFollowsDirection()
{
    QFETCH(bool, rightToLeft);
    m_board->StartRecording(rightToLeft, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    QTableView* view = list();
    const int keyX = view->visualRect(view->model()->index(0, 0)).center().x();
    const int valueX = view->visualRect(view->model()->index(0, 1)).center().x();
    QCOMPARE(keyX > valueX, rightToLeft);
}

void tst_MessageBoard::keysGoBack_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("release");
    QTest::addColumn<bool>("hides");

    QTest::newRow("Return pressed") << int(Qt::Key_Return) << false << true;
    QTest::newRow("keypad Enter pressed") << int(Qt::Key_Enter) << false << true;
    QTest::newRow("Esc released") << int(Qt::Key_Escape) << true << true;
    QTest::newRow("Esc pressed only") << int(Qt::Key_Escape) << false << false;
}

void tst_MessageBoard::keysGoBack()
{
    QFETCH(int, key);
    QFETCH(bool, release);
    QFETCH(bool, hides);

    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1"), QStringLiteral("a"));
    // The list has the focus; the board still sees the key first, and the back button being
    // disabled during the run does not matter.
    QWidget* target = list();
    if (release)
        QTest::keyRelease(target, Qt::Key(key));
    else
        QTest::keyPress(target, Qt::Key(key));
    QCOMPARE(m_board->isVisible(), !hides);
    QCOMPARE(static_cast<LogBoard*>(m_board.get())->isShowing(), !hides);

    // The next row shows the board again, still recording.
    m_board->PostThisMessage(QStringLiteral("2"), QStringLiteral("b"));
    QVERIFY(m_board->isVisible());
    QVERIFY(!back()->isEnabled());
    QVERIFY(busy()->isVisible());
    QCOMPARE(m_board->lines(), (QStringList{"1=a", "2=b"}));
}

void tst_MessageBoard::postWhileHiddenAfterRunAppends()
{
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1"), QStringLiteral("a"));
    m_board->StopRecording();
    QTest::mouseClick(back(), Qt::LeftButton);
    QVERIFY(!m_board->isVisible());

    m_board->PostThisMessage(QStringLiteral("2"), QStringLiteral("b"));
    QVERIFY(m_board->isVisible());
    QCOMPARE(m_board->lines(), (QStringList{"1=a", "2=b"}));
    QCOMPARE(count()->text(), kCountPrefix + "2");
    QVERIFY(back()->isEnabled());
    QVERIFY(busy()->isHidden());
}

void tst_MessageBoard::saveEmptyBoardWritesNothing()
{
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->StopRecording();
    Dialogs::queueFile(m_dir->filePath(QStringLiteral("report")));
    QTest::mouseClick(save(), Qt::LeftButton);

    QCOMPARE(Dialogs::shownTexts(), QStringList{kEmptyList});
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Plain);
    QCOMPARE(Dialogs::pendingAnswers(), 1); // the save dialog was never opened
    QVERIFY(savedFiles().isEmpty());
    QVERIFY(platform::openedPaths().isEmpty());
}

void tst_MessageBoard::saveProposesName_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("proposed");

    const QString underscores = chars(17, '_');
    QTest::newRow("group exit") << kGroupExitTitle << "1234" << underscores
                                << kGroupExitTitle + " 1234" + underscores;
    QTest::newRow("date loses its slashes") << kGroupExitTitle << "00412"
                                            << "1399/05/07" << kGroupExitTitle + " 0041213990507";
    QTest::newRow("only the joining = goes") << "T"
                                             << "a"
                                             << "b=c"
                                             << "T ab=c";
    QTest::newRow("blanks trimmed") << QString() << "  k"
                                    << "v  "
                                    << "kv";
}

void tst_MessageBoard::saveProposesName()
{
    QFETCH(QString, title);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, proposed);

    m_board->StartRecording(true, title);
    m_board->PostThisMessage(key, value);
    m_board->PostThisMessage(QStringLiteral("9"), QStringLiteral("1400/01/01"));
    m_board->StopRecording();
    Dialogs::queueCancel();
    m_board->dxButton2Click();

    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::SaveFile);
    QCOMPARE(Dialogs::shown().first().text, proposed);
}

void tst_MessageBoard::saveWritesCodePageFileAndOpensIt()
{
    const QString value = kGroupExitTitle + u' ' + chars(80, 'x');
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1234"), value);
    m_board->PostThisMessage(QString(), QStringLiteral("1399/05/07"));
    m_board->StopRecording();

    const QString expected = m_dir->filePath(QStringLiteral("report.Txt.Txt"));
    QFile old(expected);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'z')); // an existing file is replaced, not patched
    old.close();

    Dialogs::queueFile(m_dir->filePath(QStringLiteral("report.Txt")));
    QTest::mouseClick(save(), Qt::LeftButton);

    QByteArray bytes;
    const QStringList lines{"1234=" + value.left(70), kMore + "=" + value.mid(70),
                            QStringLiteral("=1399/05/07")};
    for (const QString& line : lines)
        bytes += textfile::encode(line) + "\r\n";
    QFile written(expected);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
    QCOMPARE(platform::openedPaths(), QStringList{expected});
    QCOMPARE(m_board->lines().size(), 3);
}

void tst_MessageBoard::saveCancelledWritesNothing()
{
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1"), QStringLiteral("a"));
    m_board->StopRecording();
    Dialogs::queueCancel();
    m_board->dxButton2Click();

    QCOMPARE(Dialogs::pendingAnswers(), 0);
    QVERIFY(savedFiles().isEmpty());
    QVERIFY(platform::openedPaths().isEmpty());
}

void tst_MessageBoard::saveFailureReportsAndKeepsRows()
{
    m_board->StartRecording(true, kGroupExitTitle);
    m_board->PostThisMessage(QStringLiteral("1"), QStringLiteral("a"));
    m_board->StopRecording();
    const QString path = m_dir->filePath(QStringLiteral("no such folder/report"));
    Dialogs::queueFile(path);
    m_board->dxButton2Click();

    QCOMPARE(Dialogs::shown().size(), 2);
    const Dialogs::Shown report = Dialogs::shown().last();
    QCOMPARE(report.kind, Dialogs::Kind::Error);
    QVERIFY2(report.text.contains(QDir::toNativeSeparators(path + ".Txt")), qPrintable(report.text));
    QCOMPARE(m_board->lines(), QStringList{"1=a"});
    QVERIFY(m_board->isVisible());
    QVERIFY(platform::openedPaths().isEmpty());
}

QTEST_MAIN(tst_MessageBoard)
#include "tst_messageboard.moc"
