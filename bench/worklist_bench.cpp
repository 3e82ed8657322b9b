// The work list on a large farm (20,000 cows, 100,000 enrolments): opening it, filtering it by
// a protocol and a level, and finding a body number near the end of the list, each until the
// grid has its first screen of rows. Each figure is set beside the same queries run directly
// through the SQLite C API on the same file in the same run, fetching the same rows.
//
//   bench_worklist FARMFILE
#include "app/Program.h"
#include "data/ConnectionSettings.h"
#include "data/DataUnit.h"
#include "data/WorkListModel.h"
#include "services/Dialogs.h"
#include "services/Paths.h"
#include "services/SqlText.h"
#include "services/ToolsUnit.h"
#include "worklist/MainUnit.h"
#include "worklist/WorkListColumns.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRuns = 15;
constexpr int kPage = WorkListModel::kPageSize;

double medianMs(const std::function<void()>& work)
{
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// The raw engine: statements prepared, bound, stepped to the end, every column read as the
// driver would read it.
class Raw
{
public:
    explicit Raw(const QString& file)
    {
        sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Raw() { sqlite3_close(m_db); }

    // Returns the rows read; the first column of the last row in *first when asked.
    int run(const QString& sql, const QList<QVariant>& bound = {}, QVariant* first = nullptr)
    {
        sqlite3_stmt* statement = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
            QTextStream(stderr) << "raw: " << sqlite3_errmsg(m_db) << "\n";
            return -1;
        }
        for (int i = 0; i < bound.size(); ++i) {
            if (bound.at(i).typeId() == QMetaType::QString) {
                const QByteArray value = bound.at(i).toString().toUtf8();
                sqlite3_bind_text(statement, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(statement, i + 1, bound.at(i).toLongLong());
            }
        }
        int rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ++rows;
            const int columns = sqlite3_column_count(statement);
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    m_sink += sqlite3_column_int64(statement, c);
                    break;
                case SQLITE_FLOAT:
                    m_sink += qint64(sqlite3_column_double(statement, c));
                    break;
                case SQLITE_TEXT:
                    m_sink += sqlite3_column_bytes16(statement, c);
                    break;
                default:
                    break;
                }
            }
            if (first)
                *first = sqlite3_column_int64(statement, 0);
        }
        sqlite3_finalize(statement);
        return rows;
    }
    qint64 sink() const { return m_sink; }

private:
    sqlite3* m_db = nullptr;
    qint64 m_sink = 0;
};

QString fields(const WorkListModel* list)
{
    QStringList names;
    for (int i = 0; i < list->record().count(); ++i)
        names.append(u'"' + list->record().fieldName(i) + u'"');
    return names.join(QStringLiteral(", "));
}

QString where(const QString& filter, const QString& extra = QString())
{
    if (filter.isEmpty())
        return extra.isEmpty() ? QString() : QStringLiteral(" WHERE ") + extra;
    return QStringLiteral(" WHERE (") + filter + QStringLiteral("\n)") +
           (extra.isEmpty() ? QString() : QStringLiteral(" AND ") + extra);
}

// The first screen of the grid: every cell of the rows the viewport shows.
int readScreen(QTableView* grid)
{
    QAbstractItemModel* model = grid->model();
    const int rowHeight = std::max(1, grid->verticalHeader()->defaultSectionSize());
    const int top = std::max(0, grid->rowAt(0));
    const int visible = grid->viewport()->height() / rowHeight + 1;
    int cells = 0;
    for (int row = top; row < std::min(model->rowCount(), top + visible); ++row)
        for (int column = 0; column < model->columnCount(); ++column)
            cells += model->index(row, column).data().isValid() ? 1 : 0;
    return cells;
}

void print(QTextStream& out, const QString& name, double ours, double raw)
{
    out << name << ": " << QString::number(ours, 'f', 2) << " ms\n";
    out << name << " raw: " << QString::number(raw, 'f', 2) << " ms\n";
    out << name << " ratio: " << QString::number(ours / raw, 'f', 2) << "\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 2 || !QFileInfo(QString::fromLocal8Bit(argv[1])).isFile()) {
        QTextStream(stderr) << "usage: bench_worklist FARMFILE\n";
        return 2;
    }
    const QFileInfo farm(QString::fromLocal8Bit(argv[1]));

    // A program folder naming the farm file where it lies; no box waits for an answer.
    QTemporaryDir folder;
    ConnectionValues values;
    values.userName = QStringLiteral("sa");
    values.server = QStringLiteral("sqlite:") + farm.absolutePath();
    values.database = farm.fileName();
    if (!connsettings::writeScrambledFile(folder.filePath(QStringLiteral("WTimes.DLL")), values))
        return 1;
    QDir(folder.path()).mkdir(QStringLiteral("PRep"));
    paths::setProgramFolder(folder.path() + u'/');
    qputenv("VETRILO_TRACE_DIR", folder.filePath(QStringLiteral("trace")).toLocal8Bit());
    Dialogs::setScripted(true);

    Program program;
    if (!program.dm()->isOpen()) {
        QTextStream(stderr) << "the farm did not open\n";
        return 1;
    }
    TMainForm* form = program.mainForm();
    WorkListModel* list = program.dm()->TP_VWork();
    QElapsedTimer shown;
    shown.start();
    program.showMainWindow();
    QApplication::processEvents();
    readScreen(form->CRDBGrid1());
    out << "worklist.show: " << QString::number(shown.nsecsElapsed() / 1e6, 'f', 2)
        << " ms (first show, window included)\n";
    out << "worklist rows: " << list->rowCount() << "\n";
    form->dxCheckbox1()->setChecked(false); // the search alone, without the details view

    Raw raw(farm.absoluteFilePath());
    const QString select = QStringLiteral("SELECT ") + fields(list) + QStringLiteral(" FROM P_vWork");
    const QString order = QStringLiteral(" ORDER BY \"ProID\"");
    // What the list reads for a filter: the first page, and the count when the page is full.
    auto rawList = [&](const QString& filter) {
        if (raw.run(select + where(filter) + order + QStringLiteral(" LIMIT %1").arg(kPage)) == kPage)
            raw.run(QStringLiteral("SELECT COUNT(*) FROM P_vWork") + where(filter));
    };

    // Opening: the list read anew, the protocol names of the show step, the first screen.
    const double openOurs = medianMs([&] {
        list->select();
        TDm::instance()->openQAskCh(QStringLiteral("Select DisTinct ProName From [P_ProtocolDesign]"));
        for (int i = 0; i < TDm::instance()->QAskCh()->rowCount(); ++i)
            TDm::instance()->QAskCh()->record(i).value(0).toString();
        readScreen(form->CRDBGrid1());
    });
    const double openRaw = medianMs([&] {
        rawList(QString());
        raw.run(QStringLiteral("Select DisTinct ProName From [P_ProtocolDesign]"));
    });
    print(out, QStringLiteral("worklist.open"), openOurs, openRaw);

    // Filtering: the first protocol and level 2, as a click on each strip leaves them.
    const QString protocol = form->PrNamesTab()->tabText(1);
    const QString filter =
        QStringLiteral("ProName=") + sqltext::quoted(protocol) + QStringLiteral(" And PCurLevel=2");
    const double filterOurs = medianMs([&] {
        TMainForm::selectTab(form->PrNamesTab(), 1);
        TMainForm::selectTab(form->LevelTab(), 0);
        form->FilterIt();
        TMainForm::selectTab(form->LevelTab(), 2);
        form->FilterIt();
        readScreen(form->CRDBGrid1());
    });
    const double filterRaw = medianMs([&] {
        rawList(QStringLiteral("ProName=") + sqltext::quoted(protocol));
        rawList(filter);
    });
    print(out, QStringLiteral("worklist.filter"), filterOurs, filterRaw);
    if (list->filterText() != filter)
        QTextStream(stderr) << "unexpected filter: " << list->filterText() << "\n";
    out << "worklist.filter rows: " << list->rowCount() << "\n";

    // Searching: the cow whose first enrolment is the last one to start, on the whole list.
    TMainForm::selectTab(form->PrNamesTab(), 0);
    TMainForm::selectTab(form->LevelTab(), 0);
    form->FilterIt();
    QString body;
    {
        QSqlQuery query(program.dm()->OstreloPasturaCon());
        query.exec(QStringLiteral("SELECT Body FROM P_vWork WHERE Body IS NOT NULL GROUP BY Body ORDER BY "
                                  "MIN(ProID) DESC LIMIT 1"));
        if (query.next())
            body = query.value(0).toString();
    }
    int foundRow = -1;
    const double searchOurs = medianMs([&] {
        list->select(); // a fresh list: the row's page is not in memory yet
        form->Edit1()->setText(body);
        form->Edit1KeyPress(Qt::Key_Return);
        foundRow = form->currentRow();
        readScreen(form->CRDBGrid1());
    });
    const qint64 firstKey =
        list->data(list->index(0, list->fieldIndex(QStringLiteral("ProID")))).toLongLong();
    const double searchRaw = medianMs([&] {
        rawList(QString());
        QVariant key;
        raw.run(QStringLiteral("SELECT \"ProID\" FROM P_vWork") +
                    where(QString(), QStringLiteral("\"Body\" = ?")) + order + QStringLiteral(" LIMIT 1"),
                {body}, &key);
        // The position, counted on the shorter side of the key as the list counts it.
        QVariant lastKey;
        raw.run(QStringLiteral("SELECT \"ProID\" FROM P_vWork") + order + QStringLiteral(" DESC LIMIT 1"), {},
                &lastKey);
        const bool fromEnd = lastKey.toLongLong() - key.toLongLong() < key.toLongLong() - firstKey;
        raw.run(QStringLiteral("SELECT COUNT(*) FROM P_vWork") +
                    where(QString(),
                          fromEnd ? QStringLiteral("\"ProID\" >= ?") : QStringLiteral("\"ProID\" < ?")),
                {key});
        const int before = foundRow % kPage;
        if (before > 0)
            raw.run(select + where(QString(), QStringLiteral("\"ProID\" < ?")) + order +
                        QStringLiteral(" DESC LIMIT %1").arg(before),
                    {key});
        raw.run(select + where(QString(), QStringLiteral("\"ProID\" >= ?")) + order +
                    QStringLiteral(" LIMIT %1").arg(kPage - before),
                {key});
    });
    print(out, QStringLiteral("worklist.search"), searchOurs, searchRaw);
    out << "worklist.search row: " << foundRow << " of " << list->rowCount() << "\n";
    return raw.sink() == -1 ? 1 : 0;
}
