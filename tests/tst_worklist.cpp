#include "app/Program.h"
#include "calendar/Clock.h"
#include "data/DataUnit.h"
#include "data/WorkListModel.h"
#include "group/MessageBoardUnit.h"
#include "protocols/ProDefineUnit.h"
#include "services/AppControl.h"
#include "services/Dialogs.h"
#include "services/SideBar.h"
#include "services/SqlText.h"
#include "services/TextFile.h"
#include "services/ToolsUnit.h"
#include "tests/FarmFixture.h"
#include "tests/TestSupport.h"
#include "worklist/FilterFiles.h"
#include "worklist/MainUnit.h"
#include "worklist/WorkListColumns.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

const QString kAll = QStringLiteral("همه");
const QString kNew = QStringLiteral("جديد");
const QString kDetailsTitle = QStringLiteral("مشخصات");
const QString kRunError = QStringLiteral("خطا در اجراي دستور");
const QString kNoFolder = QStringLiteral("پوشه برنامه ها پيدا نشد \r");
const QString kNoEditor = QStringLiteral("برنامه ويرايش روي اين سيستم نصب نشده است ");
const QString kAskFilterName = QStringLiteral("نام فيلتر را مشخص كنيد ");
const QString kNoReportGenerator = QStringLiteral("سيستم گزارشگير روي اين كامپيوتر نصب نشده است");

const QColor kFound(225, 225, 255);
const QColor kNotFound(253, 210, 198);

// Which protocol tab a case chooses.
enum Pick
{
    AllProtocols,
    FirstProtocol,
    QuotedProtocol
};

// A shell script standing in for an outside program: it writes its arguments, one a line, into
// a file, which appears complete (it is moved into place).
bool writeRecorder(const QString& program, const QString& output)
{
    QDir().mkpath(QFileInfo(program).absolutePath());
    QFile file(program);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray out = QFile::encodeName(output);
    file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out + ".part' && mv '" +
               out + ".part' '" + out + "'\n");
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

QStringList readUtf8Lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QByteArray crlfBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += textfile::encode(line) + "\r\n";
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The work list window on a real SQLite farm: its layout, the protocol and level filters, the
// keys, the body search, the details view, the saved filters, the editor and the report hand-off;
// then the filter-file rules as tables and the paged work-list model on a larger list.
class TestWorkList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void filterTexts_data();
    void filterTexts();
    void tabsChangedInCodeRunNoHandler();
    void keys_data();
    void keys();
    void bodySearch_data();
    void bodySearch();
    void detailsListAllColumns_data();
    void detailsListAllColumns();
    void missingFilterFolderReportedAtEveryChange();
    void filterFiles_data();
    void filterFiles();
    void filterFileStripsBackToAll();
    void filterFileProblems_data();
    void filterFileProblems();
    void allTabOfBottomStrip();
    void demoFiltersApply();
    void newFilterStartsEditor_data();
    void newFilterStartsEditor();
    void ctrlClickOpensFile_data();
    void ctrlClickOpensFile();
    void reportHandOff_data();
    void reportHandOff();
    void protocolWindowBack_data();
    void protocolWindowBack();

    void placeholder_data();
    void placeholder();
    void captionOfFileName_data();
    void captionOfFileName();
    void editorArguments();
    void reportDefinitionExample();

    void modelPagesMatchQuery();
    void modelLocate_data();
    void modelLocate();
    void modelEditsPostByKey();

private:
    bool startProgram(bool prepFolder = true);
    TMainForm* form() const { return m_program->mainForm(); }
    WorkListModel* list() const { return m_program->dm()->TP_VWork(); }
    QTabBar* protocols() const { return form()->findChild<QTabBar*>(QStringLiteral("PrNamesTab")); }
    QTabBar* levels() const { return form()->findChild<QTabBar*>(QStringLiteral("LevelTab")); }
    QTabBar* filters() const { return form()->findChild<QTabBar*>(QStringLiteral("ProgTab")); }
    QTableView* grid() const { return form()->findChild<QTableView*>(QStringLiteral("CRDBGrid1")); }
    QLineEdit* bodyBox() const { return form()->findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    SideBar* bar() const { return form()->findChild<SideBar*>(QStringLiteral("dxWinXPBar1")); }
    QColor bodyColour() const { return bodyBox()->palette().color(QPalette::Base); }
    QString folder() const { return m_farm->path(); }

    void clickTab(QTabBar* tabs, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A level and back to "all": the bottom strip is rebuilt and the list is unfiltered.
    void rebuildFilterStrip()
    {
        clickTab(levels(), 1);
        clickTab(levels(), 0);
    }
    int tabOf(QTabBar* tabs, const QString& caption) const;
    int countRows(const QString& where) const;
    QVariant valueOf(int proId, const QString& field) const;
    void writeFilter(const QString& name, const QByteArray& content);
    QStringList errorBoxes() const;

    std::unique_ptr<testsupport::FarmFolder> m_farm;
    std::unique_ptr<Program> m_program;
};

void TestWorkList::initTestCase()
{
    testsupport::initGuiTest();
    appclock::setToday(QDate(2026, 12, 11));
}

void TestWorkList::init()
{
    testsupport::resetSession();
}

void TestWorkList::cleanup()
{
    const bool leftover = testsupport::closeLeftoverModals();
    m_program.reset();
    m_farm.reset();
    QSqlDatabase::removeDatabase(QStringLiteral("worklist-model"));
    QVERIFY(!leftover);
}

bool TestWorkList::startProgram(bool prepFolder)
{
    testsupport::FarmOptions options;
    options.prepFolder = prepFolder;
    m_farm = std::make_unique<testsupport::FarmFolder>(options);
    if (!m_farm->isValid()) {
        qWarning() << m_farm->error();
        return false;
    }
    {
        // A protocol whose name needs its quote doubled in a filter.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("worklist-setup"));
        db.setDatabaseName(m_farm->farmFile());
        QSqlQuery query(db);
        const bool ok = db.open() &&
                        query.exec(QStringLiteral(
                            "INSERT INTO P_ProtocolDesign (ProName, PLevel, PDays, PAct) "
                            "VALUES ('Heat''s check', 1, 0, 'look'), ('Heat''s check', 2, 3, 'end')")) &&
                        query.exec(QStringLiteral(
                            "INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, StartCurActDate, "
                            "PLastAct, PNextAct, NextLvlDays, POutDate, POutResone) "
                            "SELECT 'Heat''s check', Serial, 1, '1405/09/01', '1405/09/01', 'look', "
                            "'end', '3', '', '' FROM Main ORDER BY Serial DESC LIMIT 2"));
        if (!ok)
            qWarning() << query.lastError().text();
        db.close();
        if (!ok)
            return false;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("worklist-setup"));
    m_program = std::make_unique<Program>();
    if (!m_program->dm()->isOpen())
        return false;
    m_program->showMainWindow();
    if (!QTest::qWaitForWindowExposed(form()))
        return false;
    Dialogs::clearShown();
    return true;
}

#define START(...) QVERIFY2(startProgram(__VA_ARGS__), "the program did not start on the test farm")

void TestWorkList::clickTab(QTabBar* tabs, int index, Qt::KeyboardModifiers modifiers)
{
    QVERIFY(index >= 0 && index < tabs->count());
    const QRect rect = tabs->tabRect(index);
    QVERIFY2(tabs->rect().contains(rect.center()), "the tab is outside its strip");
    QTest::mouseClick(tabs, Qt::LeftButton, modifiers, rect.center());
}

int TestWorkList::tabOf(QTabBar* tabs, const QString& caption) const
{
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == caption)
            return i;
    return -1;
}

int TestWorkList::countRows(const QString& where) const
{
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM P_vWork") +
                        (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

QVariant TestWorkList::valueOf(int proId, const QString& field) const
{
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    query.prepare(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM P_vWork WHERE ProID = ?"));
    query.addBindValue(proId);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

void TestWorkList::writeFilter(const QString& name, const QByteArray& content)
{
    QFile file(folder() + QStringLiteral("PRep/") + name + QStringLiteral(".Pro"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList TestWorkList::errorBoxes() const
{
    QStringList texts;
    for (const Dialogs::Shown& shown : Dialogs::shown())
        if (shown.kind == Dialogs::Kind::Error)
            texts.append(shown.text);
    return texts;
}

// ---------------------------------------------------------------- layout

void TestWorkList::layout()
{
    START();
    QCOMPARE(form()->layoutDirection(), Qt::RightToLeft);
    QVERIFY(form()->isMaximized());
    QVERIFY(!m_program->tools()->waitBox());

    // Protocols along the top, levels on the left edge, saved filters along the bottom.
    const QRect gridBox(grid()->mapTo(form(), QPoint()), grid()->size());
    const QRect protocolBox(protocols()->mapTo(form(), QPoint()), protocols()->size());
    const QRect levelBox(levels()->mapTo(form(), QPoint()), levels()->size());
    const QRect filterBox(filters()->mapTo(form(), QPoint()), filters()->size());
    auto* panel = form()->findChild<QWidget*>(QStringLiteral("SidePanel"));
    const QRect panelBox(panel->mapTo(form(), QPoint()), panel->size());
    QVERIFY(protocolBox.bottom() <= gridBox.top());
    QVERIFY(filterBox.top() >= gridBox.bottom());
    QVERIFY(levelBox.right() <= gridBox.left());
    QVERIFY(panelBox.left() >= gridBox.right());
    QCOMPARE(panel->width(), 174);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 255, 242));

    QStringList levelCaptions{kAll};
    for (int i = 1; i <= 15; ++i)
        levelCaptions.append(QString::number(i));
    QStringList shown;
    for (int i = 0; i < levels()->count(); ++i)
        shown.append(levels()->tabText(i));
    QCOMPARE(shown, levelCaptions);
    QStringList names;
    QSqlQuery query(m_program->dm()->OstreloPasturaCon());
    QVERIFY(query.exec(QStringLiteral("Select DisTinct ProName From [P_ProtocolDesign]")));
    while (query.next())
        names.append(query.value(0).toString());
    shown.clear();
    for (int i = 0; i < protocols()->count(); ++i)
        shown.append(protocols()->tabText(i));
    QCOMPARE(shown, QStringList{kAll} + names);
    QCOMPARE(filters()->count(), 2);
    QCOMPARE(filters()->tabText(0), kAll);
    QCOMPARE(filters()->tabText(1), kNew);

    const QStringList items{QStringLiteral("تعريف پروتكل"),
                            QStringLiteral("ورود دام به پروتكل"),
                            QStringLiteral("انتقال دام به مرحله بعد"),
                            QStringLiteral("خروج از پروتكل"),
                            QStringLiteral(" "),
                            QStringLiteral("گزارش"),
                            QStringLiteral(" "),
                            QStringLiteral("ليست پيشنهادي ورود")};
    QCOMPARE(bar()->count(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(bar()->caption(i), items.at(i));
    QVERIFY(!bar()->isItemEnabled(1));
    QVERIFY(!bar()->isItemEnabled(4));
    QCOMPARE(form()->findChild<QCheckBox*>(QStringLiteral("dxCheckbox2"))->text(),
             QStringLiteral("حالت عمليات جمعي"));
    QVERIFY(!form()->findChild<QCheckBox*>(QStringLiteral("dxCheckbox2"))->isChecked());
    QCOMPARE(form()->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("بدن"));
    QCOMPARE(form()->findChild<QCheckBox*>(QStringLiteral("dxCheckbox1"))->text(),
             QStringLiteral("نمايش فوري اطلاعات"));
    QVERIFY(form()->findChild<QCheckBox*>(QStringLiteral("dxCheckbox1"))->isChecked());
    QCOMPARE(form()->findChild<QPushButton*>(QStringLiteral("dxButton2"))->text(), QStringLiteral("خروج"));
    QVERIFY(!form()->findChild<QLabel*>(QStringLiteral("StaticText1"))->text().isEmpty());
    QCOMPARE(bodyColour(), kFound);

    // The grid: 28 titled columns with their widths, title alignment and colour groups.
    QAbstractItemModel* model = grid()->model();
    QCOMPARE(model->columnCount(), 28);
    QCOMPARE(model->rowCount(), countRows(QString()));
    const QList<worklist::Column>& columns = worklist::columns();
    for (int i = 0; i < 28; ++i) {
        QCOMPARE(model->headerData(i, Qt::Horizontal).toString(), columns.at(i).caption);
        QCOMPARE(grid()->columnWidth(i), columns.at(i).width);
        const auto alignment =
            model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(bool(alignment & Qt::AlignHCenter), i != 5 && i != 8);
    }
    auto background = [&](int column) {
        return model->index(0, column).data(Qt::BackgroundRole).value<QColor>();
    };
    QCOMPARE(background(0), QColor(233, 255, 213));
    QCOMPARE(background(1), QColor(Qt::white));
    QCOMPARE(background(10), QColor(233, 255, 213));
    QVERIFY(!model->index(0, 11).data(Qt::BackgroundRole).isValid());
    QCOMPARE(background(12), QColor(255, 242, 242));
    QCOMPARE(background(17), QColor(255, 242, 242));
    QCOMPARE(background(18), QColor(232, 232, 255));
    QCOMPARE(background(21), QColor(232, 232, 255));
    QCOMPARE(background(22), QColor(239, 223, 255));
    QCOMPARE(background(27), QColor(239, 223, 255));
    // Cells show the view's values under the grid's order.
    const int proId = list()->data(list()->index(0, list()->fieldIndex(QStringLiteral("ProID")))).toInt();
    QCOMPARE(model->index(0, 2).data().toString(), valueOf(proId, QStringLiteral("Body")).toString());
    QCOMPARE(model->index(0, 27).data().toString(), valueOf(proId, QStringLiteral("Serial")).toString());

    const QString shot = qEnvironmentVariable("VETRILO_WORKLIST_SHOT");
    if (!shot.isEmpty())
        form()->grab().save(shot);
}

// ---------------------------------------------------------------- protocol and level filters

void TestWorkList::filterTexts_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("level"); // 0 for "all"
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("backToAll");

    QTest::newRow("all, all") << int(AllProtocols) << 0 << QString() << false;
    QTest::newRow("protocol") << int(FirstProtocol) << 0 << QStringLiteral("ProName=%1") << false;
    QTest::newRow("level") << int(AllProtocols) << 3 << QStringLiteral(" PcurLevel=3") << false;
    QTest::newRow("protocol and level")
        << int(FirstProtocol) << 3 << QStringLiteral("ProName=%1 And PCurLevel=3") << false;
    QTest::newRow("quote in name") << int(QuotedProtocol) << 1
                                   << QStringLiteral("ProName='Heat''s check' And PCurLevel=1") << false;
    QTest::newRow("back to all") << int(FirstProtocol) << 3 << QString() << true;
}

void TestWorkList::filterTexts()
{
    QFETCH(int, protocol);
    QFETCH(int, level);
    QFETCH(QString, filter);
    QFETCH(bool, backToAll);
    START();
    const int all = list()->rowCount();
    QVERIFY(all > 10);

    const int protocolTab = protocol == AllProtocols    ? 0
                            : protocol == FirstProtocol ? 1
                                                        : tabOf(protocols(), QStringLiteral("Heat's check"));
    if (protocolTab > 0)
        clickTab(protocols(), protocolTab);
    if (level > 0)
        clickTab(levels(), level);
    if (backToAll) {
        clickTab(protocols(), 0);
        clickTab(levels(), 0);
    }
    if (filter.contains(QLatin1String("%1")))
        filter = filter.arg(sqltext::quoted(protocols()->tabText(protocolTab)));

    const bool protocolChosen = protocolTab > 0 && !backToAll;
    const bool levelChosen = level > 0 && !backToAll;
    QCOMPARE(list()->filtered(), !filter.isEmpty());
    if (!filter.isEmpty())
        QCOMPARE(list()->filterText(), filter);
    QCOMPARE(list()->rowCount(), filter.isEmpty() ? all : countRows(filter));
    QVERIFY(filter.isEmpty() || list()->rowCount() < all);
    QCOMPARE(grid()->isColumnHidden(worklist::kProNameColumn), protocolChosen);
    QCOMPARE(grid()->isColumnHidden(worklist::kPCurLevelColumn), levelChosen);
    QCOMPARE(bar()->isItemEnabled(1), protocolChosen);
    QCOMPARE(filters()->currentIndex(), 0);
    QVERIFY(errorBoxes().isEmpty());
}

void TestWorkList::tabsChangedInCodeRunNoHandler()
{
    START();
    const int all = list()->rowCount();
    protocols()->setCurrentIndex(1);
    levels()->setCurrentIndex(2);
    filters()->setCurrentIndex(1);
    QVERIFY(!list()->filtered());
    QCOMPARE(list()->rowCount(), all);
    QVERIFY(!bar()->isItemEnabled(1));
    QVERIFY(Dialogs::shown().isEmpty()); // "new filter" would have asked for a name
    // A click on the tab that is already chosen changes nothing either.
    clickTab(levels(), 2);
    QVERIFY(!list()->filtered());
    clickTab(levels(), 3);
    QCOMPARE(list()->filterText(), QStringLiteral("ProName=") + sqltext::quoted(protocols()->tabText(1)) +
                                       QStringLiteral(" And PCurLevel=3"));
}

// ---------------------------------------------------------------- keys

void TestWorkList::keys_data()
{
    QTest::addColumn<QString>("target"); // the control with the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("filterFiles");
    QTest::addColumn<QString>("strip");
    QTest::addColumn<int>("tab");

    QTest::newRow("F2 next protocol") << "CRDBGrid1" << int(Qt::Key_F2) << 1 << 0 << "PrNamesTab" << 1;
    QTest::newRow("F2 past last protocol") << "Edit1" << int(Qt::Key_F2) << -1 << 0 << "PrNamesTab" << 0;
    QTest::newRow("F3 next level") << "Edit1" << int(Qt::Key_F3) << 2 << 0 << "LevelTab" << 2;
    QTest::newRow("F3 past 15") << "CRDBGrid1" << int(Qt::Key_F3) << 16 << 0 << "LevelTab" << 0;
    QTest::newRow("F4 without files") << "CRDBGrid1" << int(Qt::Key_F4) << 1 << 0 << "ProgTab" << 0;
    QTest::newRow("F4 skips new") << "CRDBGrid1" << int(Qt::Key_F4) << 1 << 2 << "ProgTab" << 2;
    QTest::newRow("F4 past last file") << "Edit1" << int(Qt::Key_F4) << 3 << 2 << "ProgTab" << 0;
}

void TestWorkList::keys()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, filterFiles);
    QFETCH(QString, strip);
    QFETCH(int, tab);
    START();
    for (int i = 0; i < filterFiles; ++i)
        writeFilter(QStringLiteral("f%1").arg(i), "PCurLevel=" + QByteArray::number(i + 1) + "\r\n");
    rebuildFilterStrip();
    auto* widget = form()->findChild<QWidget*>(target);
    auto* tabs = form()->findChild<QTabBar*>(strip);
    if (presses < 0)
        presses = tabs->count(); // all the way round
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(widget, Qt::Key(key));
    QCOMPARE(tabs->currentIndex(), tab);
    QString expected;
    if (key == Qt::Key_F2 && tab > 0)
        expected = QStringLiteral("ProName=") + sqltext::quoted(tabs->tabText(tab));
    else if (key == Qt::Key_F3 && tab > 0)
        expected = QStringLiteral(" PcurLevel=") + tabs->tabText(tab);
    else if (key == Qt::Key_F4 && tab >= 2)
        expected = QStringLiteral("PCurLevel=%1\r\n").arg(tab - 1);
    QCOMPARE(list()->filtered(), !expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(list()->filterText(), expected);
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(!appcontrol::endRequested());

    QTest::keyClick(widget, Qt::Key_Escape);
    QVERIFY(appcontrol::endRequested());
}

// ---------------------------------------------------------------- body search and details

void TestWorkList::bodySearch_data()
{
    QTest::addColumn<QString>("typed");  // "<listed>" for a listed cow's body without its zeros
    QTest::addColumn<bool>("filterOut"); // choose a protocol the cow is not in
    QTest::addColumn<bool>("details");

    QTest::newRow("listed cow, details") << "<listed>" << false << true;
    QTest::newRow("listed cow, no details") << "<listed>" << false << false;
    QTest::newRow("filtered out") << "<listed>" << true << true;
    QTest::newRow("short number padded") << "12" << false << true;
    QTest::newRow("long number kept") << "123456" << false << true;
    QTest::newRow("empty box") << "" << false << true;
}

void TestWorkList::bodySearch()
{
    QFETCH(QString, typed);
    QFETCH(bool, filterOut);
    QFETCH(bool, details);
    START();
    // A cow of the list's last enrolment: its row lies beyond what the grid has shown.
    const int bodyColumn = list()->fieldIndex(QStringLiteral("Body"));
    const QString listed = list()->data(list()->index(list()->rowCount() - 1, bodyColumn)).toString();
    QCOMPARE(listed.size(), 5);
    const bool listedCow = typed == QLatin1String("<listed>");
    const QString expected = typed == QLatin1String("<listed>") ? listed
                             : typed.size() >= 5                ? typed
                                                                : QString(5 - typed.size(), u'0') + typed;
    if (typed == QLatin1String("<listed>")) {
        typed = listed;
        while (typed.startsWith(u'0'))
            typed.remove(0, 1);
    }
    if (filterOut) {
        int other = 1;
        while (countRows(QStringLiteral("ProName=%1 And Body='%2'")
                             .arg(sqltext::quoted(protocols()->tabText(other)), listed)) > 0)
            ++other;
        clickTab(protocols(), other);
    }
    int expectedRow = -1;
    for (int row = 0; row < list()->rowCount() && expectedRow < 0; ++row)
        if (list()->data(list()->index(row, bodyColumn)).toString() == expected)
            expectedRow = row;
    if (listedCow)
        QCOMPARE(expectedRow >= 0, !filterOut);
    form()->findChild<QCheckBox*>(QStringLiteral("dxCheckbox1"))->setChecked(details);
    grid()->setCurrentIndex(grid()->model()->index(0, 2));

    bodyBox()->setFocus();
    bodyBox()->clear();
    QTest::keyClicks(bodyBox(), typed);
    QTest::keyClick(bodyBox(), Qt::Key_Return);

    QCOMPARE(bodyBox()->text(), expected);
    QCOMPARE(bodyBox()->selectedText(), expected);
    QCOMPARE(bodyColour(), expectedRow >= 0 ? kFound : kNotFound);
    QCOMPARE(form()->currentRow(), expectedRow >= 0 ? expectedRow : 0);
    QCOMPARE(grid()->currentIndex().row(), form()->currentRow());
    QCOMPARE(grid()->model()->index(form()->currentRow(), 2).data().toString() == expected, expectedRow >= 0);
    const bool shown = expectedRow >= 0 && details;
    QCOMPARE(m_program->board()->lines().size(), shown ? 28 : 0);
    if (shown)
        QCOMPARE(m_program->board()->lines().at(2), QStringLiteral("بدن") + u'=' + expected);
}

void TestWorkList::detailsListAllColumns_data()
{
    QTest::addColumn<bool>("emptyList");
    QTest::newRow("row of a filtered list") << false;
    QTest::newRow("empty list") << true;
}

void TestWorkList::detailsListAllColumns()
{
    QFETCH(bool, emptyList);
    START();
    clickTab(protocols(), 1);
    clickTab(levels(), emptyList ? 15 : 1);
    QCOMPARE(list()->rowCount() == 0, emptyList);
    const int row = emptyList ? -1 : list()->rowCount() - 1;
    if (!emptyList) {
        const QModelIndex cell = grid()->model()->index(row, 4);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(cell).center());
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(cell).center());
        QCOMPARE(form()->currentRow(), row);
    } else {
        form()->CRDBGrid1DblClick();
    }
    QCOMPARE(m_program->board()->windowTitle(), kDetailsTitle);
    const QStringList lines = m_program->board()->lines();
    QCOMPARE(lines.size(), 28);
    const int proId =
        emptyList ? -1
                  : list()->data(list()->index(row, list()->fieldIndex(QStringLiteral("ProID")))).toInt();
    for (int i = 0; i < 28; ++i) {
        const worklist::Column& column = worklist::columns().at(i);
        const QString value = emptyList ? QString() : valueOf(proId, column.field).toString();
        QCOMPARE(lines.at(i), column.caption + u'=' + value);
    }
    if (!emptyList)
        QCOMPARE(lines.at(0),
                 worklist::columns().at(0).caption + u'=' + protocols()->tabText(1)); // hidden, still listed
}

// ---------------------------------------------------------------- saved filters

void TestWorkList::missingFilterFolderReportedAtEveryChange()
{
    START(false);
    const QString message = kNoFolder + QDir::toNativeSeparators(folder() + QStringLiteral("PRep/"));
    clickTab(protocols(), 1);
    clickTab(levels(), 2);
    QCOMPARE(Dialogs::shownTexts(), (QStringList{message, message}));
    QCOMPARE(filters()->count(), 2);
}

void TestWorkList::filterFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // the filter text; %1 stands for today in quotes

    QTest::newRow("placeholder in mixed case") << QByteArray("PInDate<=:sDaTe\r\n") << "PInDate<=%1\r\n";
    QTest::newRow("two placeholders") << QByteArray("PInDate<=:SDATE And\r\nStartCurActDate<=:sdate\r\n")
                                      << "PInDate<=%1 And\r\nStartCurActDate<=%1\r\n";
    const QByteArray tail = QByteArray(1000, ' ') + " And 1=0\r\n";
    QTest::newRow("cut after the placeholder")
        << QByteArray("PInDate<=:SDATE" + tail) << "PInDate<=%1" + QString(1000, u' ');
    QTest::newRow("no line end") << QByteArray("POutDate<>''") << "POutDate<>''\r\n";
    QTest::newRow("empty file") << QByteArray() << QString();
}

void TestWorkList::filterFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    START();
    const int all = list()->rowCount();
    writeFilter(QStringLiteral("Due"), content);
    writeFilter(kAll, "PCurLevel=1\r\n"); // a file may be named like the fixed tabs
    rebuildFilterStrip();
    QCOMPARE(filters()->count(), 4);
    const int tab = tabOf(filters(), QStringLiteral("Due"));
    clickTab(filters(), tab);

    const QString today = u'\'' + m_program->tools()->FarsiToday() + u'\'';
    if (expected.contains(QLatin1String("%1")))
        expected = expected.arg(today);
    QVERIFY(errorBoxes().isEmpty());
    QCOMPARE(list()->filtered(), !expected.isEmpty());
    if (expected.isEmpty()) {
        QCOMPARE(list()->rowCount(), all);
    } else {
        QCOMPARE(list()->filterText(), expected);
        QCOMPARE(list()->rowCount(), countRows(expected));
        QVERIFY(list()->rowCount() > 0);
    }
    QCOMPARE(filters()->currentIndex(), tab);

    // The second tab captioned "all" is a filter like any other.
    clickTab(filters(), tabOf(filters(), QStringLiteral("Due")) == 2 ? 3 : 2);
    QCOMPARE(list()->filterText(), QStringLiteral("PCurLevel=1\r\n"));
    QCOMPARE(list()->rowCount(), countRows(QStringLiteral("PCurLevel=1")));
}

void TestWorkList::filterFileStripsBackToAll()
{
    START();
    writeFilter(QStringLiteral("Closed"), "POutDate<>''\r\n");
    clickTab(protocols(), 1);
    clickTab(levels(), 2);
    clickTab(filters(), 2);
    QCOMPARE(protocols()->currentIndex(), 0);
    QCOMPARE(levels()->currentIndex(), 0);
    QCOMPARE(list()->filterText(), QStringLiteral("POutDate<>''\r\n"));
    QCOMPARE(list()->rowCount(), countRows(QStringLiteral("POutDate<>''")));
    // Their filter step did not run: columns and the entry item stay as the protocol left them.
    QVERIFY(grid()->isColumnHidden(worklist::kProNameColumn));
    QVERIFY(grid()->isColumnHidden(worklist::kPCurLevelColumn));
    QVERIFY(bar()->isItemEnabled(1));
    QCOMPARE(filters()->count(), 3);
}

void TestWorkList::filterFileProblems_data()
{
    QTest::addColumn<bool>("removeFile");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("file gone since the strip was built") << true << QByteArray("PCurLevel=2\r\n");
    QTest::newRow("text the engine refuses") << false << QByteArray("PCurLevel = = 2 Or\r\n");
}

void TestWorkList::filterFileProblems()
{
    QFETCH(bool, removeFile);
    QFETCH(QByteArray, content);
    START();
    const int all = list()->rowCount();
    writeFilter(QStringLiteral("Broken"), content);
    clickTab(levels(), 1);
    const QString levelFilter = list()->filterText();
    QVERIFY(list()->filtered());
    if (removeFile)
        QVERIFY(QFile::remove(folder() + QStringLiteral("PRep/Broken.Pro")));
    clickTab(filters(), 2);

    const QStringList errors = errorBoxes();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(filters()->currentIndex(), 2);
    QVERIFY(!appcontrol::endRequested());
    if (removeFile) {
        // The list keeps the filter it had.
        QVERIFY(
            errors.first().contains(QDir::toNativeSeparators(folder() + QStringLiteral("PRep/Broken.Pro"))));
        QCOMPARE(list()->filterText(), levelFilter);
        QVERIFY(list()->filtered());
        QCOMPARE(levels()->currentIndex(), 1);
    } else {
        // The engine's own words, and the whole list, still usable.
        QVERIFY(errors.first().startsWith(kRunError));
        QVERIFY(errors.first().contains(QStringLiteral("syntax error")));
        QVERIFY(!list()->filtered());
        QCOMPARE(list()->rowCount(), all);
        clickTab(protocols(), 1);
        QCOMPARE(list()->rowCount(),
                 countRows(QStringLiteral("ProName=") + sqltext::quoted(protocols()->tabText(1))));
    }
}

void TestWorkList::allTabOfBottomStrip()
{
    START();
    const int all = list()->rowCount();
    writeFilter(QStringLiteral("One"), "PCurLevel=1\r\n");
    clickTab(protocols(), 1); // rebuilds the strip, which now holds the file
    writeFilter(QStringLiteral("Two"), "PCurLevel=2\r\n");
    QCOMPARE(filters()->count(), 3); // files show at the next rebuild only
    clickTab(filters(), 1);          // "new" without an editor leaves the filter alone
    QCOMPARE(Dialogs::shownTexts(), QStringList{kNoEditor});
    QVERIFY(list()->filtered());

    clickTab(filters(), 0);
    QVERIFY(!list()->filtered());
    QCOMPARE(list()->rowCount(), all);
    QCOMPARE(protocols()->currentIndex(), 1);
    QVERIFY(grid()->isColumnHidden(worklist::kProNameColumn));
    QCOMPARE(filters()->currentIndex(), 0);
    QCOMPARE(filters()->count(), 4);
}

void TestWorkList::demoFiltersApply()
{
    START();
    // The demo's saved filters, staged in the code page the tool reads.
    const QDir demo(QStringLiteral(VETRILO_SQL_DIR) + QStringLiteral("/demo/PRep"));
    const QStringList files = demo.entryList({QStringLiteral("*.Pro")}, QDir::Files);
    QCOMPARE(files.size(), 2);
    for (const QString& file : files) {
        QFile source(demo.filePath(file));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QVERIFY(textfile::writeLines(folder() + QStringLiteral("PRep/") + file,
                                     textfile::splitLines(QString::fromUtf8(source.readAll()))));
    }
    rebuildFilterStrip();
    QCOMPARE(filters()->count(), 4);
    const int all = list()->rowCount();
    for (int tab = 2; tab < 4; ++tab) {
        clickTab(filters(), tab);
        QVERIFY2(errorBoxes().isEmpty(), qPrintable(errorBoxes().join(u'\n')));
        QVERIFY(list()->filtered());
        QVERIFY(list()->rowCount() > 0 && list()->rowCount() < all);
    }
}

// ---------------------------------------------------------------- editor

void TestWorkList::newFilterStartsEditor_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("prepFolder");
    QTest::newRow("editor missing") << false << true << true;
    QTest::newRow("name given") << true << true << true;
    QTest::newRow("name given, folder created") << true << true << false;
    QTest::newRow("cancelled") << true << false << true;
}

void TestWorkList::newFilterStartsEditor()
{
    QFETCH(bool, editor);
    QFETCH(bool, answered);
    QFETCH(bool, prepFolder);
    START(prepFolder);
    const QString args = folder() + QStringLiteral("editor-args.txt");
    if (editor)
        QVERIFY(writeRecorder(folder() + QStringLiteral("Plugin/Npp.exe"), args));
    clickTab(levels(), 1);
    const QString levelFilter = list()->filterText();
    Dialogs::clearShown();
    if (answered)
        Dialogs::queueText(QStringLiteral("Heifers"));
    else
        Dialogs::queueCancel();

    clickTab(filters(), 1);

    QCOMPARE(filters()->currentIndex(), 1);
    if (!editor) {
        QCOMPARE(Dialogs::shownTexts(), QStringList{kNoEditor});
        QVERIFY(list()->filtered());
        QCOMPARE(list()->filterText(), levelFilter);
        Dialogs::clearQueue();
        return;
    }
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Input);
    QCOMPARE(Dialogs::shown().first().text, kAskFilterName);
    if (!answered) {
        QVERIFY(!list()->filtered());
        QTest::qWait(50);
        QVERIFY(!QFile::exists(args));
        return;
    }
    QVERIFY(list()->filtered()); // untouched
    QTRY_VERIFY(QFile::exists(args));
    QCOMPARE(readUtf8Lines(args),
             (QStringList{QStringLiteral("-multiInst"), QStringLiteral("-noPlugin"),
                          QStringLiteral("-nosession"), QStringLiteral("-lsql"), QStringLiteral("-notabbar"),
                          folder() + QStringLiteral("PRep/Heifers.Pro")}));
    QVERIFY(QFileInfo(folder() + QStringLiteral("PRep")).isDir());
    QVERIFY(!QFile::exists(folder() + QStringLiteral("PRep/Heifers.Pro"))); // the editor writes it
}

void TestWorkList::ctrlClickOpensFile_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opened");
    QTest::newRow("ctrl on a filter") << 2 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("plain click") << 2 << Qt::KeyboardModifiers() << false;
    QTest::newRow("ctrl on new") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
}

void TestWorkList::ctrlClickOpensFile()
{
    QFETCH(int, tab);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opened);
    START();
    const QString args = folder() + QStringLiteral("editor-args.txt");
    QVERIFY(writeRecorder(folder() + QStringLiteral("Plugin/Npp.exe"), args));
    writeFilter(QStringLiteral("Open"), "POutDate=''\r\n");
    rebuildFilterStrip();
    if (tab == 1)
        Dialogs::queueCancel(); // the click on "new" itself asks for a name
    clickTab(filters(), tab, modifiers);

    if (tab == 2)
        QCOMPARE(list()->filterText(), QStringLiteral("POutDate=''\r\n")); // applied before the file opens
    if (opened) {
        QTRY_VERIFY(QFile::exists(args));
        QCOMPARE(readUtf8Lines(args).last(), folder() + QStringLiteral("PRep/Open.Pro"));
        QCOMPARE(readUtf8Lines(args).size(), 6);
    } else {
        QTest::qWait(100);
        QVERIFY(!QFile::exists(args));
    }
    Dialogs::clearQueue();
}

// ---------------------------------------------------------------- report hand-off

void TestWorkList::reportHandOff_data()
{
    QTest::addColumn<QString>("state"); // "none", "protocol", "file", "missing"
    QTest::newRow("generator missing") << "missing";
    QTest::newRow("unfiltered") << "none";
    QTest::newRow("protocol and level") << "protocol";
    QTest::newRow("file filter") << "file";
}

void TestWorkList::reportHandOff()
{
    QFETCH(QString, state);
    START();
    const QString started = folder() + QStringLiteral("report-started.txt");
    if (state != QLatin1String("missing"))
        QVERIFY(writeRecorder(folder() + QStringLiteral("VexaSystem.exe"), started));
    QString where;
    if (state == QLatin1String("protocol")) {
        clickTab(protocols(), tabOf(protocols(), QStringLiteral("Heat's check")));
        clickTab(levels(), 1);
        where = QStringLiteral("Where ProName='Heat''s check' And PCurLevel=1");
    } else if (state == QLatin1String("file")) {
        writeFilter(QStringLiteral("Due"), "NextLvlDate<=:SDATE\r\nAnd POutDate=''\r\n");
        clickTab(protocols(), 1); // hides the protocol column, and the file filter keeps it hidden
        clickTab(filters(), 2);
        where = QStringLiteral("Where NextLvlDate<='") + m_program->tools()->FarsiToday() +
                QStringLiteral("'\r\nAnd POutDate=''\r\n");
    }
    Dialogs::clearShown();
    bar()->click(TMainForm::Report);

    const QString definition = folder() + QStringLiteral("Protocol.JSC");
    const QString name = folder() + QStringLiteral("PassedReportName.txt");
    if (state == QLatin1String("missing")) {
        QCOMPARE(Dialogs::shownTexts(), QStringList{kNoReportGenerator});
        QVERIFY(!QFile::exists(definition));
        QVERIFY(!QFile::exists(name));
        return;
    }
    QVERIFY(Dialogs::shown().isEmpty());
    QStringList expected;
    QStringList fields;
    const int first = state == QLatin1String("none") ? 0 : state == QLatin1String("file") ? 1 : 2;
    for (int i = first; i < 28; ++i) {
        expected.append(u'~' + worklist::columns().at(i).caption);
        fields.append(worklist::columns().at(i).field);
    }
    expected.append(QStringLiteral("Select "));
    for (int i = 0; i < fields.size(); ++i)
        expected.append(i + 1 < fields.size() ? fields.at(i) + QStringLiteral(" ,") : fields.at(i));
    expected.append(QStringLiteral("From P_VWork "));
    if (!where.isEmpty())
        expected.append(where);
    QCOMPARE(textfile::decode(fileBytes(definition)), textfile::decode(crlfBytes(expected)));
    QCOMPARE(fileBytes(definition), crlfBytes(expected));
    QCOMPARE(fileBytes(name), QByteArray("Protocol.JSC\r\n"));
    QTRY_VERIFY(QFile::exists(started));
    QVERIFY(readUtf8Lines(started).isEmpty()); // started without arguments
}

// ---------------------------------------------------------------- protocol window

void TestWorkList::protocolWindowBack_data()
{
    QTest::addColumn<bool>("removeChosen");
    QTest::newRow("chosen protocol still there") << false;
    QTest::newRow("chosen protocol gone") << true;
}

void TestWorkList::protocolWindowBack()
{
    QFETCH(bool, removeChosen);
    START();
    const int all = list()->rowCount();
    clickTab(protocols(), 2);
    const QString chosen = protocols()->tabText(2);
    const QString filter = list()->filterText();
    testsupport::onModal<TProDefineForm>([&](TProDefineForm* window) {
        auto* tabs = window->findChild<QTabBar*>(QStringLiteral("PrNamesTab"));
        if (removeChosen)
            tabs->removeTab(2);
        window->dxButton2Click();
    });
    bar()->click(TMainForm::DefineProtocol);
    QVERIFY(!QApplication::activeModalWidget());
    if (!removeChosen) {
        QCOMPARE(protocols()->tabText(protocols()->currentIndex()), chosen);
        QCOMPARE(list()->filterText(), filter);
        QVERIFY(list()->filtered());
    } else {
        QCOMPARE(tabOf(protocols(), chosen), -1);
        QCOMPARE(protocols()->currentIndex(), 0);
        QVERIFY(!list()->filtered());
        QCOMPARE(list()->rowCount(), all);
        QVERIFY(!bar()->isItemEnabled(1));
    }
}

// ---------------------------------------------------------------- filter-file rules

void TestWorkList::placeholder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString d = QStringLiteral("'1405/09/20'");
    QTest::newRow("none") << "PCurLevel=1"
                          << "PCurLevel=1";
    QTest::newRow("upper") << "A<=:SDATE"
                           << "A<=" + d;
    QTest::newRow("mixed") << "A<=:sDate And B"
                           << "A<=" + d + " And B";
    QTest::newRow("two") << ":SDATE,:sdate" << d + u',' + d;
    QTest::newRow("at the end") << "x:SDATE"
                                << "x" + d;
    QTest::newRow("colon kept before other word") << ":SDAT"
                                                  << ":SDAT";
    QTest::newRow("cut after 1000") << ":SDATE" + QString(1005, u'x') << d + QString(1000, u'x');
    QTest::newRow("exactly 1000") << ":SDATE" + QString(1000, u'x') << d + QString(1000, u'x');
    // The second placeholder lies beyond the cut of the first and is lost with it.
    QTest::newRow("second beyond the cut")
        << ":SDATE" + QString(1000, u'x') + ":SDATE" << d + QString(1000, u'x');
    QTest::newRow("second cut from its own end")
        << ":SDATE" + QString(10, u'y') + ":SDATE" + QString(1200, u'z')
        << d + QString(10, u'y') + d + QString(1000 - 10 - 6, u'z');
}

void TestWorkList::placeholder()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(filterfiles::replaceDatePlaceholder(text, QStringLiteral("1405/09/20")), expected);
}

void TestWorkList::captionOfFileName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << "Due.Pro"
                           << "Due";
    QTest::newRow("two dots") << "Due.old.Pro"
                              << "Due";
    QTest::newRow("no dot") << "Due"
                            << "Due";
}

void TestWorkList::captionOfFileName()
{
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QCOMPARE(filterfiles::captionOfFileName(file), caption);
}

void TestWorkList::editorArguments()
{
    QCOMPARE(filterfiles::editorArguments(QStringLiteral("C:\\Farm\\PRep\\Due.Pro")),
             QStringLiteral("\"-multiInst\" \"-noPlugin\" \"-nosession\" \"-lsql\" \"-notabbar\" "
                            "\"C:\\Farm\\PRep\\Due.Pro\""));
}

void TestWorkList::reportDefinitionExample()
{
    const QList<filterfiles::ReportColumn> columns{{QStringLiteral("بدن"), QStringLiteral("Body")},
                                                   {QStringLiteral("سريال"), QStringLiteral("Serial")}};
    QCOMPARE(filterfiles::reportDefinition(columns, true, QStringLiteral("ProName='N'")),
             (QStringList{u'~' + QStringLiteral("بدن"), u'~' + QStringLiteral("سريال"),
                          QStringLiteral("Select "), QStringLiteral("Body ,"), QStringLiteral("Serial"),
                          QStringLiteral("From P_VWork "), QStringLiteral("Where ProName='N'")}));
    QCOMPARE(filterfiles::reportDefinition(columns, false, QStringLiteral("ProName='N'")).size(), 6);
}

// ---------------------------------------------------------------- the paged model

namespace {

// A list of 1000 enrolments with gaps in the keys, three protocols taking turns and five-digit
// bodies: enough for several pages.
QSqlDatabase modelDatabase()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("worklist-model"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open())
        return db;
    QSqlQuery query(db);
    query.exec(QStringLiteral("CREATE TABLE Work (ProID INTEGER PRIMARY KEY, ProName TEXT, Body TEXT, "
                              "PCurLevel INTEGER, Note TEXT)"));
    query.exec(
        QStringLiteral("CREATE VIEW P_vWork AS SELECT ProID, ProName, Body, PCurLevel, Note FROM Work"));
    query.exec(
        QStringLiteral("CREATE TRIGGER P_vWork_Update INSTEAD OF UPDATE ON P_vWork BEGIN "
                       "UPDATE Work SET ProName = NEW.ProName, Body = NEW.Body, PCurLevel = NEW.PCurLevel, "
                       "Note = NEW.Note WHERE ProID = OLD.ProID; END"));
    db.transaction();
    query.prepare(QStringLiteral("INSERT INTO Work VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; i < 1000; ++i) {
        query.addBindValue(3 * i + (i % 7)); // increasing, with gaps
        query.addBindValue(QStringLiteral("P%1").arg(i % 3));
        query.addBindValue(
            QStringLiteral("%1").arg(5000 - i * 3, 5, 10, QLatin1Char('0'))); // bodies not in key order
        query.addBindValue(1 + i % 5);
        query.addBindValue(QString());
        query.exec();
    }
    db.commit();
    return db;
}

QList<int> keysOf(const QSqlDatabase& db, const QString& where)
{
    QList<int> keys;
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT ProID FROM P_vWork") +
               (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where) +
               QStringLiteral(" ORDER BY ProID"));
    while (query.next())
        keys.append(query.value(0).toInt());
    return keys;
}

} // namespace

void TestWorkList::modelPagesMatchQuery()
{
    const QSqlDatabase db = modelDatabase();
    for (const QString& where :
         {QString(), QStringLiteral("ProName='P1'"), QStringLiteral("ProName='P1' And PCurLevel=2")}) {
        WorkListModel model(nullptr, db);
        model.setTable(QStringLiteral("P_vWork"));
        QVERIFY(model.applyFilter(where));
        const QList<int> keys = keysOf(db, where);
        QCOMPARE(model.rowCount(), keys.size());
        const int key = model.fieldIndex(QStringLiteral("ProID"));
        auto keyAt = [&](int row) { return model.data(model.index(row, key)).toInt(); };
        // Far pages first (by offset), then backwards (from the next page), forwards (from the
        // previous one), and a jump.
        QList<int> order;
        for (int row = int(keys.size()) - 1; row >= 0; row -= 37)
            order.append(row);
        for (int row = 0; row < keys.size(); row += 41)
            order.append(row);
        order.append(int(keys.size()) / 2);
        for (int row : order)
            QVERIFY2(keyAt(row) == keys.at(row), qPrintable(QStringLiteral("%1 row %2").arg(where).arg(row)));
        QVERIFY(!model.index(int(keys.size()), key).isValid());
        QCOMPARE(model.columnValues(QStringLiteral("ProID")).size(), keys.size());
        QCOMPARE(model.record(int(keys.size()) - 1).value(QStringLiteral("ProID")).toInt(), keys.last());
    }
}

void TestWorkList::modelLocate_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("body");
    QTest::newRow("first row") << QString() << "05000";
    QTest::newRow("last row") << QString()
                              << QStringLiteral("%1").arg(5000 - 999 * 3, 5, 10, QLatin1Char('0'));
    QTest::newRow("middle of a far page")
        << QString() << QStringLiteral("%1").arg(5000 - 700 * 3, 5, 10, QLatin1Char('0'));
    QTest::newRow("filtered") << "ProName='P2'"
                              << QStringLiteral("%1").arg(5000 - 950 * 3, 5, 10, QLatin1Char('0'));
    QTest::newRow("filtered out") << "ProName='P0'"
                                  << QStringLiteral("%1").arg(5000 - 950 * 3, 5, 10, QLatin1Char('0'));
    QTest::newRow("absent") << QString() << "00001";
}

void TestWorkList::modelLocate()
{
    QFETCH(QString, filter);
    QFETCH(QString, body);
    const QSqlDatabase db = modelDatabase();
    WorkListModel model(nullptr, db);
    model.setTable(QStringLiteral("P_vWork"));
    QVERIFY(model.applyFilter(filter));
    const QList<int> keys = keysOf(db, filter);
    const QList<int> matches = keysOf(db, (filter.isEmpty() ? QString() : filter + QStringLiteral(" And ")) +
                                              QStringLiteral("Body='") + body + u'\'');
    const int row = model.locate(QStringLiteral("Body"), body);
    QCOMPARE(row, matches.isEmpty() ? -1 : int(keys.indexOf(matches.first())));
    if (row >= 0) {
        QCOMPARE(model.data(model.index(row, model.fieldIndex(QStringLiteral("Body")))).toString(), body);
        // The rows around it were read with it.
        if (row > 0)
            QCOMPARE(model.data(model.index(row - 1, 0)).toInt(), keys.at(row - 1));
        if (row + 1 < keys.size())
            QCOMPARE(model.data(model.index(row + 1, 0)).toInt(), keys.at(row + 1));
    }
}

void TestWorkList::modelEditsPostByKey()
{
    const QSqlDatabase db = modelDatabase();
    WorkListModel model(nullptr, db);
    model.setTable(QStringLiteral("P_vWork"));
    QVERIFY(model.applyFilter(QStringLiteral("ProName='P1'")));
    const int row = model.locate(QStringLiteral("Body"),
                                 QStringLiteral("%1").arg(5000 - 898 * 3, 5, 10, QLatin1Char('0')));
    QVERIFY(row > WorkListModel::kPageSize);
    const int key = model.data(model.index(row, 0)).toInt();
    const int note = model.fieldIndex(QStringLiteral("Note"));
    const int level = model.fieldIndex(QStringLiteral("PCurLevel"));
    QVERIFY(model.setData(model.index(row, note), QStringLiteral("done")));
    QVERIFY(model.setData(model.index(row, level), 9));
    QVERIFY(model.isDirty());
    QCOMPARE(model.data(model.index(row, note)).toString(),
             QStringLiteral("done")); // shown before it is posted
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM Work WHERE Note='done'")) && query.next());
    QCOMPARE(query.value(0).toInt(), 0);

    QVERIFY2(model.submitAll(), qPrintable(model.lastError().text()));
    QVERIFY(!model.isDirty());
    QVERIFY(query.exec(QStringLiteral("SELECT ProID, PCurLevel FROM Work WHERE Note='done'")) &&
            query.next());
    QCOMPARE(query.value(0).toInt(), key);
    QCOMPARE(query.value(1).toInt(), 9);
    QVERIFY(!query.next());
    QCOMPARE(model.record(row).value(QStringLiteral("Note")).toString(), QStringLiteral("done"));
    QCOMPARE(model.data(model.index(row, 0)).toInt(), key); // the row stays where it was

    QVERIFY(model.setData(model.index(row, note), QStringLiteral("again")));
    model.revertAll();
    QCOMPARE(model.data(model.index(row, note)).toString(), QStringLiteral("done"));
    QVERIFY(!model.isDirty());
}

QTEST_MAIN(TestWorkList)
#include "tst_worklist.moc"
