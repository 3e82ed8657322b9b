#include "app/Program.h"
#include "data/DataUnit.h"
#include "protocols/ProDefineAEUnit.h"
#include "protocols/ProDefineUnit.h"
#include "services/Dialogs.h"
#include "services/SideBar.h"
#include "services/ToolsUnit.h"
#include "tests/FarmFixture.h"
#include "tests/TestSupport.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const QString kAll = QStringLiteral("همه");
const QString kEnd = QStringLiteral("خاتمه");
const QString kLevelTitle = QStringLiteral("مرحله");
const QString kDaysTitle = QStringLiteral("روز");
const QString kActionTitle = QStringLiteral("عمل");
const QString kNoNewLevel = QStringLiteral("-\r ");
const QString kNewLevelIn = QStringLiteral("مرحله جديد در");
const QString kAskName = QStringLiteral("نام پروتكل جديد");
const QString kDuplicateName = QStringLiteral("نام پروتكل تكراري است ");
const QString kDuplicateLevel = QStringLiteral("خطا در ذخيره سازي . شماره مرحله تكراري است ");

struct Level
{
    int level;
    int days;
    QString action;
};

// A level as the tests compare it: "level|days|action".
QString levelText(const Level& l) { return QStringLiteral("%1|%2|%3").arg(l.level).arg(l.days).arg(l.action); }

// Types text into a widget key by key; the events carry the text, so Persian letters arrive too.
void type(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
} // namespace

// The protocol definition window and its level dialog, driven through their controls on a real
// SQLite farm that starts without any protocol.
class TestProtocols : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fiveLevelProtocolFromScratch();
    void duplicateLevelRefusedLoopGoesOn();
    void editLevel_data();
    void editLevel();
    void editOnEmptyGridStoresNewLevel();
    void deleteLevel_data();
    void deleteLevel();
    void allTabAndProtocolTab();
    void cancelledFirstLevelLeavesTab();
    void okRefused_data();
    void okRefused();
    void duplicateProtocolName_data();
    void duplicateProtocolName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Step = std::function<void()>;

    TProDefineForm* form() const { return m_program->proDefine(); }
    TProDefineAEForm* dialog() const { return m_program->proDefineAE(); }
    QSqlTableModel* model() const { return m_program->dm()->MP_ProtocolDesign(); }
    SideBar* bar() const { return form()->findChild<SideBar*>(QStringLiteral("dxWinXPBar1")); }
    QTabBar* tabs() const { return form()->findChild<QTabBar*>(QStringLiteral("PrNamesTab")); }
    QTableView* grid() const { return form()->findChild<QTableView*>(QStringLiteral("CRDBGrid1")); }

    void addLevels(const QString& name, const QList<Level>& levels);
    QStringList storedLevels(const QString& name) const;
    int storedCount() const;
    void setMainTabs(const QStringList& names);
    // Opens the window over the test's main tab bar, runs inside in it, then leaves it by "back".
    void runWindow(const Step& inside);
    // Steps for the level dialog, each run when the dialog next opens.
    void expectDialog(const Step& step) { m_steps.append(step); }
    void driveDialog();
    // In the open level dialog: Enter through the fields, typing level, days and action, and
    // Enter on OK.
    void fillAndAccept(const Level& l);
    void pressEnter() { QTest::keyClick(dialog()->focusWidget(), Qt::Key_Return); }
    void pressEsc() { QTest::keyClick(dialog()->focusWidget(), Qt::Key_Escape); }
    void replaceText(QWidget* field, const QString& text);
    void clickRowOfLevel(int level);
    bool pendingChanges() const { return model()->isDirty(); }

    std::unique_ptr<testsupport::FarmFolder> m_farm;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<QTabBar> m_mainTabs;
    QList<Step> m_steps;
    int m_shows = 0;
    int m_handledShows = 0;
    int m_unexpectedDialogs = 0;
    QTimer m_driver;
    QTimer m_watchdog;
    bool m_timedOut = false;
};

void TestProtocols::initTestCase()
{
    testsupport::initGuiTest();
    m_driver.setInterval(5);
    connect(&m_driver, &QTimer::timeout, this, &TestProtocols::driveDialog);
    // A case that stalls in a modal loop is ended instead of hanging the run.
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(30000);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        testsupport::closeLeftoverModals();
    });
}

void TestProtocols::init()
{
    testsupport::resetSession();
    testsupport::FarmOptions options;
    options.cows = 5;
    options.demoProtocols = false;
    m_farm = std::make_unique<testsupport::FarmFolder>(options);
    QVERIFY2(m_farm->isValid(), qPrintable(m_farm->error()));
    m_program = std::make_unique<Program>();
    QVERIFY(m_program->dm()->isOpen());
    m_program->tools()->ShowBoxClose(); // the main window's show step would close it
    Dialogs::clearShown();
    QVERIFY(form() && dialog() && bar() && tabs() && grid());
    QCOMPARE(model()->rowCount(), 0);

    dialog()->installEventFilter(this);
    m_steps.clear();
    m_shows = m_handledShows = m_unexpectedDialogs = 0;
    m_timedOut = false;
    m_mainTabs = std::make_unique<QTabBar>();
    setMainTabs({kAll});
    m_driver.start();
    m_watchdog.start();
}

void TestProtocols::cleanup()
{
    m_driver.stop();
    m_watchdog.stop();
    const bool leftover = testsupport::closeLeftoverModals();
    m_mainTabs.reset();
    m_program.reset();
    m_farm.reset();
    QVERIFY(!m_timedOut);
    QVERIFY(!leftover);
    QCOMPARE(m_unexpectedDialogs, 0);
    QVERIFY2(m_steps.isEmpty(), "the level dialog did not open as often as expected");
}

bool TestProtocols::eventFilter(QObject* watched, QEvent* event)
{
    if (m_program && watched == dialog() && event->type() == QEvent::Show)
        ++m_shows;
    return QObject::eventFilter(watched, event);
}

void TestProtocols::driveDialog()
{
    if (!m_program || m_handledShows >= m_shows || QApplication::activeModalWidget() != dialog())
        return;
    m_handledShows = m_shows;
    if (m_steps.isEmpty()) {
        ++m_unexpectedDialogs;
        dialog()->reject();
        return;
    }
    const Step step = m_steps.takeFirst();
    step();
}

void TestProtocols::addLevels(const QString& name, const QList<Level>& levels)
{
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    for (const Level& l : levels) {
        query.prepare(QStringLiteral("INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) VALUES (?, ?, ?, ?)"));
        query.addBindValue(name);
        query.addBindValue(l.level);
        query.addBindValue(l.days);
        query.addBindValue(l.action);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
}

QStringList TestProtocols::storedLevels(const QString& name) const
{
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    query.prepare(QStringLiteral("SELECT PLevel, PDays, PAct, typeof(PLevel), typeof(PDays) FROM P_ProtocolDesign "
                                 "WHERE ProName = ? ORDER BY PLevel"));
    query.addBindValue(name);
    QStringList rows;
    if (!query.exec())
        return {query.lastError().text()};
    while (query.next()) {
        // Levels and days must be stored as numbers, not as texts that look like them.
        const bool numbers = query.value(3).toString() == QLatin1String("integer") &&
                             query.value(4).toString() == QLatin1String("integer");
        rows.append(levelText({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toString()}) +
                    (numbers ? QString() : QStringLiteral(" (stored as text)")));
    }
    return rows;
}

int TestProtocols::storedCount() const
{
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM P_ProtocolDesign")) && query.next() ? query.value(0).toInt()
                                                                                            : -1;
}

void TestProtocols::setMainTabs(const QStringList& names)
{
    while (m_mainTabs->count() > 0)
        m_mainTabs->removeTab(0);
    for (const QString& name : names)
        m_mainTabs->addTab(name);
}

void TestProtocols::runWindow(const Step& inside)
{
    bool ran = false;
    QTimer::singleShot(0, form(), [&] {
        ran = true;
        inside();
        if (form()->isVisible())
            QTest::mouseClick(form()->findChild<QPushButton*>(QStringLiteral("dxButton2")), Qt::LeftButton);
    });
    form()->showFor(m_mainTabs.get());
    QVERIFY(ran);
    QVERIFY(!form()->isVisible());
}

void TestProtocols::fillAndAccept(const Level& l)
{
    QCOMPARE(dialog()->focusWidget(), dialog()->nameBox());
    pressEnter();
    QCOMPARE(dialog()->focusWidget(), dialog()->levelEdit());
    QTest::keyClicks(dialog()->focusWidget(), QString::number(l.level));
    pressEnter();
    QCOMPARE(dialog()->focusWidget(), dialog()->daysEdit());
    QTest::keyClicks(dialog()->focusWidget(), QString::number(l.days));
    pressEnter();
    QCOMPARE(dialog()->focusWidget(), dialog()->actionEdit());
    type(dialog()->focusWidget(), l.action);
    pressEnter();
    QCOMPARE(dialog()->focusWidget()->objectName(), QStringLiteral("Button1"));
    pressEnter();
}

void TestProtocols::replaceText(QWidget* field, const QString& text)
{
    field->setFocus();
    if (auto* box = qobject_cast<QComboBox*>(field))
        box->lineEdit()->selectAll();
    else
        static_cast<QLineEdit*>(field)->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        type(field, text);
}

void TestProtocols::clickRowOfLevel(int level)
{
    const int column = model()->fieldIndex(QStringLiteral("PLevel"));
    for (int row = 0; row < model()->rowCount(); ++row) {
        if (model()->data(model()->index(row, column)).toInt() == level) {
            const QModelIndex cell = grid()->model()->index(row, column);
            QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(cell).center());
            QCOMPARE(grid()->currentIndex().row(), row);
            return;
        }
    }
    QFAIL("no such level in the grid");
}

// ---------------------------------------------------------------------------------------------

void TestProtocols::fiveLevelProtocolFromScratch()
{
    const QString name = QStringLiteral("Ovsynch");
    const QList<Level> levels{{1, 0, QStringLiteral("GnRH")},
                              {2, 7, QStringLiteral("PGF2a")},
                              {3, 9, QStringLiteral("GnRH")},
                              {4, 10, QStringLiteral("TAI")},
                              {5, 40, kEnd}};
    Dialogs::queueText(name);
    for (const Level& l : levels)
        expectDialog([this, l, name] {
            // Each level starts from a fresh row that holds only the protocol name.
            QCOMPARE(dialog()->nameBox()->currentText(), name);
            QCOMPARE(dialog()->nameBox()->count(), 0);
            QVERIFY(dialog()->levelEdit()->text().isEmpty());
            QVERIFY(dialog()->daysEdit()->text().isEmpty());
            QVERIFY(dialog()->actionEdit()->text().isEmpty());
            fillAndAccept(l);
        });
    expectDialog([this] { pressEsc(); }); // Esc in a field cancels: the loop ends

    int gridRows = -1;
    QString caption;
    runWindow([&] {
        bar()->click(0);
        gridRows = model()->rowCount();
        caption = bar()->caption(1);
        const QString dir = qEnvironmentVariable("VETRILO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            form()->grab().save(dir + QStringLiteral("/protocol-definition.png"));
    });

    QStringList expected;
    for (const Level& l : levels)
        expected.append(levelText(l));
    QCOMPARE(storedLevels(name), expected);
    QCOMPARE(gridRows, 5);
    QCOMPARE(caption, kNewLevelIn + name);
    QVERIFY(!pendingChanges());
    QCOMPARE(Dialogs::shownTexts(), QStringList{kAskName});
    QCOMPARE(m_mainTabs->count(), 2);
    QCOMPARE(m_mainTabs->tabText(1), name);
}

void TestProtocols::duplicateLevelRefusedLoopGoesOn()
{
    const QString name = QStringLiteral("Presynch");
    addLevels(name, {{1, 0, QStringLiteral("PGF2a")}, {2, 14, QStringLiteral("PGF2a")}});
    setMainTabs({kAll, name});

    expectDialog([this] { fillAndAccept({2, 30, QStringLiteral("GnRH")}); });
    bool freshRow = false;
    int rowsMeanwhile = -1;
    expectDialog([&, this] {
        freshRow = dialog()->nameBox()->currentText() == name && dialog()->levelEdit()->text().isEmpty() &&
                   dialog()->daysEdit()->text().isEmpty() && dialog()->actionEdit()->text().isEmpty();
        rowsMeanwhile = model()->rowCount(); // the two stored levels and the new one, no refused row
        QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });

    int gridRows = -1;
    bool pending = true;
    runWindow([&] {
        tabs()->setCurrentIndex(1);
        bar()->click(1);
        gridRows = model()->rowCount();
        pending = pendingChanges();
    });

    QCOMPARE(Dialogs::shownTexts(), QStringList{kDuplicateLevel});
    QVERIFY(freshRow);
    QCOMPARE(rowsMeanwhile, 3);
    QCOMPARE(storedLevels(name),
             (QStringList{levelText({1, 0, QStringLiteral("PGF2a")}), levelText({2, 14, QStringLiteral("PGF2a")})}));
    QCOMPARE(gridRows, 2);
    QVERIFY(!pending);
}

void TestProtocols::editLevel_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("newLevel");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("levelsA");
    QTest::addColumn<QStringList>("levelsB");
    QTest::addColumn<QStringList>("messages");

    const QString a1 = levelText({1, 0, QStringLiteral("GnRH")});
    const QString a2 = levelText({2, 7, QStringLiteral("PGF2a")});
    const QString b1 = levelText({1, 0, QStringLiteral("CIDR")});
    QTest::newRow("moved into another protocol")
        << "B" << "2" << true << QStringList{a1} << QStringList{b1, a2} << QStringList{};
    QTest::newRow("level the protocol already has")
        << "A" << "1" << true << QStringList{a1, a2} << QStringList{b1} << QStringList{kDuplicateLevel};
    QTest::newRow("cancelled") << "B" << "5" << false << QStringList{a1, a2} << QStringList{b1} << QStringList{};
}

void TestProtocols::editLevel()
{
    QFETCH(QString, newName);
    QFETCH(QString, newLevel);
    QFETCH(bool, accept);
    QFETCH(QStringList, levelsA);
    QFETCH(QStringList, levelsB);
    QFETCH(QStringList, messages);

    addLevels(QStringLiteral("A"), {{1, 0, QStringLiteral("GnRH")}, {2, 7, QStringLiteral("PGF2a")}});
    addLevels(QStringLiteral("B"), {{1, 0, QStringLiteral("CIDR")}});
    setMainTabs({kAll, QStringLiteral("A"), QStringLiteral("B")});

    QStringList shown;
    expectDialog([&, this] {
        shown = {dialog()->nameBox()->currentText(), dialog()->levelEdit()->text(), dialog()->daysEdit()->text(),
                 dialog()->actionEdit()->text()};
        replaceText(dialog()->nameBox(), newName);
        replaceText(dialog()->levelEdit(), newLevel);
        QTest::mouseClick(dialog()->findChild<QPushButton*>(accept ? QStringLiteral("Button1") : QStringLiteral("Button2")),
                          Qt::LeftButton);
    });

    int gridRows = -1;
    bool pending = true;
    runWindow([&] {
        tabs()->setCurrentIndex(1);
        clickRowOfLevel(2);
        bar()->click(2);
        gridRows = model()->rowCount();
        pending = pendingChanges();
    });

    QCOMPARE(shown, (QStringList{QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("7"), QStringLiteral("PGF2a")}));
    QCOMPARE(storedLevels(QStringLiteral("A")), levelsA);
    QCOMPARE(storedLevels(QStringLiteral("B")), levelsB);
    QCOMPARE(gridRows, levelsA.size());
    QVERIFY(!pending);
    QCOMPARE(Dialogs::shownTexts(), messages);
}

void TestProtocols::editOnEmptyGridStoresNewLevel()
{
    const QString name = QStringLiteral("Heatsynch");
    setMainTabs({kAll, name}); // a protocol created earlier in the session, without levels

    QStringList shown;
    expectDialog([&, this] {
        shown = {dialog()->nameBox()->currentText(), dialog()->levelEdit()->text(), dialog()->daysEdit()->text(),
                 dialog()->actionEdit()->text()};
        type(dialog()->nameBox(), name);
        fillAndAccept({1, 0, QStringLiteral("GnRH")});
    });
    runWindow([&] {
        tabs()->setCurrentIndex(1);
        bar()->click(2);
    });

    QCOMPARE(shown, QStringList(4, QString()));
    QCOMPARE(storedLevels(name), QStringList{levelText({1, 0, QStringLiteral("GnRH")})});
    QVERIFY(!pendingChanges());
}

void TestProtocols::deleteLevel_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("answer"); // 0: none queued
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("Ctrl+Delete, yes") << int(Qt::ControlModifier) << Dialogs::Yes << true << true;
    QTest::newRow("Ctrl+Delete, no") << int(Qt::ControlModifier) << Dialogs::No << true << false;
    QTest::newRow("Delete alone") << int(Qt::NoModifier) << 0 << false << false;
}

void TestProtocols::deleteLevel()
{
    QFETCH(int, modifiers);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, deleted);

    const QString name = QStringLiteral("A");
    const QList<Level> levels{{1, 0, QStringLiteral("GnRH")}, {2, 7, QStringLiteral("PGF2a")}, {3, 9, kEnd}};
    addLevels(name, levels);
    setMainTabs({kAll, name});
    if (answer != 0)
        Dialogs::queueButton(answer);

    int gridRows = -1;
    runWindow([&] {
        tabs()->setCurrentIndex(1);
        clickRowOfLevel(2);
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::KeyboardModifiers(modifiers));
        gridRows = model()->rowCount();
    });

    QCOMPARE(Dialogs::shownTexts(), asked ? QStringList{TProDefineForm::deleteQuestion()} : QStringList{});
    QStringList expected{levelText(levels.at(0)), levelText(levels.at(1)), levelText(levels.at(2))};
    if (deleted)
        expected.removeAt(1);
    QCOMPARE(storedLevels(name), expected);
    QCOMPARE(gridRows, expected.size());
    QVERIFY(!pendingChanges());
}

void TestProtocols::allTabAndProtocolTab()
{
    const QString quoted = QStringLiteral("Vet's 7"); // the filter must double the quote
    addLevels(QStringLiteral("A"), {{1, 0, QStringLiteral("GnRH")}, {2, 7, kEnd}});
    addLevels(quoted, {{1, 0, QStringLiteral("CIDR")}, {2, 7, QStringLiteral("PGF2a")}, {3, 9, kEnd}});
    setMainTabs({kAll, QStringLiteral("A"), quoted});

    struct State
    {
        int tab = -1;
        bool newLevelEnabled = false;
        QString caption;
        int rows = -1;
    };
    QList<State> states;
    auto record = [&] {
        states.append({tabs()->currentIndex(), bar()->isItemEnabled(1), bar()->caption(1), model()->rowCount()});
    };
    QStringList titles;
    QList<int> widths;
    bool nameColumnShown = true;
    runWindow([&] {
        record();
        tabs()->setCurrentIndex(2);
        record();
        tabs()->setCurrentIndex(0);
        record();
        bar()->click(1); // disabled: no dialog
        const QHeaderView* header = grid()->horizontalHeader();
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            if (header->isSectionHidden(logical))
                continue;
            titles.append(grid()->model()->headerData(logical, Qt::Horizontal).toString());
            widths.append(header->sectionSize(logical));
        }
        nameColumnShown = !grid()->isColumnHidden(model()->fieldIndex(QStringLiteral("ProName")));
    });

    QCOMPARE(states.size(), 3);
    QCOMPARE(states.at(0).tab, 0); // the window opens on the first tab
    for (int i : {0, 2}) {
        QVERIFY(!states.at(i).newLevelEnabled);
        QCOMPARE(states.at(i).caption, kNoNewLevel);
        QCOMPARE(states.at(i).rows, 5);
    }
    QVERIFY(states.at(1).newLevelEnabled);
    QCOMPARE(states.at(1).caption, kNewLevelIn + quoted);
    QCOMPARE(states.at(1).rows, 3);
    QCOMPARE(titles, (QStringList{kLevelTitle, kDaysTitle, kActionTitle}));
    QCOMPARE(widths, (QList<int>{64, 64, 381}));
    QVERIFY(!nameColumnShown);
}

void TestProtocols::cancelledFirstLevelLeavesTab()
{
    const QString name = QStringLiteral("CIDR7");
    setMainTabs({kAll, QStringLiteral("Ovsynch")});
    int changes = 0;
    connect(m_mainTabs.get(), &QTabBar::currentChanged, this, [&] { ++changes; });
    Dialogs::queueText(name);
    expectDialog([this] {
        QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });

    QStringList tabTexts;
    int current = -1;
    int gridRows = -1;
    runWindow([&] {
        bar()->click(0);
        for (int i = 0; i < tabs()->count(); ++i)
            tabTexts.append(tabs()->tabText(i));
        current = tabs()->currentIndex();
        gridRows = model()->rowCount();
    });

    QCOMPARE(tabTexts, (QStringList{kAll, QStringLiteral("Ovsynch"), name}));
    QCOMPARE(current, 2);
    QCOMPARE(gridRows, 0);
    QCOMPARE(storedCount(), 0);
    QVERIFY(!pendingChanges());
    // "back" copied the tab list, the new protocol included, without the main bar's change step.
    QStringList mainTexts;
    for (int i = 0; i < m_mainTabs->count(); ++i)
        mainTexts.append(m_mainTabs->tabText(i));
    QCOMPARE(mainTexts, tabTexts);
    QCOMPARE(changes, 0);
}

void TestProtocols::okRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("focus"); // empty: the dialog closes with OK

    QTest::newRow("empty name") << "" << "1" << "0" << "GnRH" << "DBComboBox1";
    QTest::newRow("empty level") << "A" << "" << "0" << "GnRH" << "DBEdit1";
    QTest::newRow("empty days before a bad level") << "A" << "x" << "" << "GnRH" << "DBEdit3";
    QTest::newRow("empty action") << "A" << "1" << "0" << "" << "DBEdit2";
    QTest::newRow("letters in level") << "A" << "1a" << "0" << "GnRH" << "DBEdit1";
    QTest::newRow("blanks in level") << "A" << "  " << "0" << "GnRH" << "DBEdit1";
    QTest::newRow("fraction in days") << "A" << "1" << "1.5" << "GnRH" << "DBEdit3";
    QTest::newRow("SQL in days") << "A" << "1" << "0);DELETE FROM P_ProtocolDesign;--" << "GnRH" << "DBEdit3";
    QTest::newRow("too big for a level") << "A" << "99999999999" << "0" << "GnRH" << "DBEdit1";
    QTest::newRow("action of blanks is stored") << "A" << "1" << "0" << "   " << "";
    QTest::newRow("blanks around numbers") << "A" << " 2 " << "7 " << "GnRH" << "";
}

void TestProtocols::okRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, level);
    QFETCH(QString, days);
    QFETCH(QString, action);
    QFETCH(QString, focus);

    addLevels(QStringLiteral("B"), {{1, 0, QStringLiteral("CIDR")}});
    setMainTabs({kAll, QStringLiteral("A"), QStringLiteral("B")});
    bool open = false;
    QString focused;
    expectDialog([&, this] {
        replaceText(dialog()->nameBox(), name);
        replaceText(dialog()->levelEdit(), level);
        replaceText(dialog()->daysEdit(), days);
        replaceText(dialog()->actionEdit(), action);
        QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        open = dialog()->isVisible();
        if (open) {
            focused = dialog()->focusWidget()->objectName();
            dialog()->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        }
    });
    if (focus.isEmpty())
        expectDialog([this] { pressEsc(); });

    runWindow([&] {
        tabs()->setCurrentIndex(1);
        bar()->click(1);
    });

    QCOMPARE(open, !focus.isEmpty());
    QCOMPARE(focused, focus);
    QVERIFY(Dialogs::shownTexts().isEmpty());
    QCOMPARE(storedLevels(QStringLiteral("B")), QStringList{levelText({1, 0, QStringLiteral("CIDR")})});
    if (focus.isEmpty())
        QCOMPARE(storedLevels(QStringLiteral("A")),
                 QStringList{levelText({level.trimmed().toInt(), days.trimmed().toInt(), action})});
    else
        QCOMPARE(storedCount(), 1);
    QVERIFY(!pendingChanges());
}

void TestProtocols::duplicateProtocolName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("duplicate");

    QTest::newRow("other Latin case") << "OVSYNCH" << true;
    QTest::newRow("the all tab") << kAll << true;
    QTest::newRow("new name") << "Ovsynch 2" << false;
}

void TestProtocols::duplicateProtocolName()
{
    QFETCH(QString, name);
    QFETCH(bool, duplicate);

    setMainTabs({kAll, QStringLiteral("Ovsynch")});
    Dialogs::queueText(name);
    if (!duplicate)
        expectDialog([this] { pressEsc(); });

    QStringList tabTexts;
    runWindow([&] {
        bar()->click(0);
        for (int i = 0; i < tabs()->count(); ++i)
            tabTexts.append(tabs()->tabText(i));
    });

    QStringList expectedTabs{kAll, QStringLiteral("Ovsynch")};
    if (!duplicate)
        expectedTabs.append(name);
    QCOMPARE(tabTexts, expectedTabs);
    QStringList messages{kAskName};
    if (duplicate)
        messages.append(kDuplicateName);
    QCOMPARE(Dialogs::shownTexts(), messages);
}

QTEST_MAIN(TestProtocols)
#include "tst_protocols.moc"
