#include "data/WorkListModel.h"

#include "data/Engine.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cstdlib>

namespace {

const QString kKeyField = QStringLiteral("ProID");
// Pages kept in memory; beyond this the pages away from the one asked for are dropped.
constexpr int kMaxPages = 128;

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

WorkListModel::WorkListModel(QObject* parent, const QSqlDatabase& db) : QSqlTableModel(parent, db)
{
    setEditStrategy(QSqlTableModel::OnManualSubmit);
}

// ---------------------------------------------------------------- filter

bool WorkListModel::setFiltered(bool on)
{
    m_filtered = on && !isBlank(m_filterText);
    QSqlTableModel::setFilter(m_filtered ? m_filterText : QString());
    return select();
}

bool WorkListModel::applyFilter(const QString& text)
{
    if (!isBlank(text))
        m_filterText = text;
    return setFiltered(!isBlank(text));
}

bool WorkListModel::refresh()
{
    return select();
}

// ---------------------------------------------------------------- statements

QString WorkListModel::keyName() const
{
    return database().driver()->escapeIdentifier(record().fieldName(m_keyColumn), QSqlDriver::FieldName);
}

QString WorkListModel::fieldList() const
{
    const QSqlRecord rec = record();
    QStringList names;
    for (int i = 0; i < rec.count(); ++i)
        names.append(database().driver()->escapeIdentifier(rec.fieldName(i), QSqlDriver::FieldName));
    return names.join(QStringLiteral(", "));
}

QString WorkListModel::whereClause(const QString& extra) const
{
    // The filter may come from a file that ends in a comment line: close its bracket on a new line.
    const QString f = filter();
    if (isBlank(f))
        return extra.isEmpty() ? QString() : QStringLiteral(" WHERE ") + extra;
    return QStringLiteral(" WHERE (") + f + QStringLiteral("\n)") +
           (extra.isEmpty() ? QString() : QStringLiteral(" AND ") + extra);
}

QString WorkListModel::limited(const QString& select, int count, int offset) const
{
    return m_engine ? m_engine->limited(select, count, offset) : Engine::limitedWithLimit(select, count, offset);
}

bool WorkListModel::readRows(const QString& statement, const QVariantList& bound, Page* rows,
                             QSqlError* error) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    bool ok = query.prepare(statement);
    if (ok) {
        for (const QVariant& value : bound)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok) {
        if (error)
            *error = query.lastError();
        return false;
    }
    const int columns = query.record().count();
    while (query.next()) {
        Row row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        rows->append(std::move(row));
    }
    return true;
}

QVariant WorkListModel::keyOf(const Row& row) const
{
    return m_keyColumn < row.size() ? row.at(m_keyColumn) : QVariant();
}

// ---------------------------------------------------------------- reading

void WorkListModel::setTable(const QString& tableName)
{
    m_pages.clear();
    m_edits.clear();
    m_count = 0;
    QSqlTableModel::setTable(tableName);
    m_keyColumn = fieldIndex(kKeyField);
    if (m_keyColumn >= 0) {
        // A view has no primary key of its own; its rows are matched on the enrolment's key.
        QSqlIndex key(tableName, kKeyField);
        key.append(record().field(m_keyColumn));
        setPrimaryKey(key);
    }
}

bool WorkListModel::select()
{
    if (tableName().isEmpty() || m_keyColumn < 0) {
        setLastError(QSqlError(QStringLiteral("The work list needs a table with the column ") + kKeyField,
                               QString(), QSqlError::StatementError));
        return false;
    }
    // The first page comes first: a list shorter than a page needs no count.
    Page first;
    QSqlError error;
    const QString from = QStringLiteral(" FROM ") + tableName();
    bool ok = readRows(limited(QStringLiteral("SELECT ") + fieldList() + from + whereClause() +
                                   QStringLiteral(" ORDER BY ") + keyName(),
                               kPageSize),
                       {}, &first, &error);
    int count = int(first.size());
    if (ok && count == kPageSize) {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        ok = query.exec(QStringLiteral("SELECT COUNT(*)") + from + whereClause()) && query.next();
        if (ok)
            count = query.value(0).toInt();
        else
            error = query.lastError();
    }

    beginResetModel();
    m_pages.clear();
    m_edits.clear();
    m_count = ok ? count : 0;
    if (ok && count > 0)
        m_pages.insert(0, std::move(first));
    endResetModel();
    setLastError(ok ? QSqlError() : error);
    return ok;
}

int WorkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

bool WorkListModel::loadPage(int page) const
{
    const int first = page * kPageSize;
    const int wanted = std::min(kPageSize, m_count - first);
    if (wanted <= 0)
        return false;
    if (m_pages.size() >= kMaxPages) {
        // Keep the neighbours: they give the keys that the next pages are found from.
        for (auto it = m_pages.begin(); it != m_pages.end();)
            it = std::abs(it.key() - page) > 1 ? m_pages.erase(it) : std::next(it);
    }

    const QString select = QStringLiteral("SELECT ") + fieldList() + QStringLiteral(" FROM ") + tableName();
    const QString key = keyName();
    Page rows;
    bool ok = false;
    const auto previous = m_pages.constFind(page - 1);
    const auto next = m_pages.constFind(page + 1);
    if (previous != m_pages.constEnd() && !previous->isEmpty()) {
        ok = readRows(
            limited(select + whereClause(key + QStringLiteral(" > ?")) + QStringLiteral(" ORDER BY ") + key,
                    wanted),
            {keyOf(previous->last())}, &rows, nullptr);
    } else if (next != m_pages.constEnd() && !next->isEmpty()) {
        ok = readRows(limited(select + whereClause(key + QStringLiteral(" < ?")) +
                                  QStringLiteral(" ORDER BY ") + key + QStringLiteral(" DESC"),
                              wanted),
                      {keyOf(next->first())}, &rows, nullptr);
        std::reverse(rows.begin(), rows.end());
    } else {
        ok = readRows(limited(select + whereClause() + QStringLiteral(" ORDER BY ") + key, wanted, first), {},
                      &rows, nullptr);
    }
    // Rows that vanished since the count show empty until the next select.
    while (rows.size() < wanted)
        rows.append(Row(record().count()));
    m_pages.insert(page, std::move(rows));
    return ok;
}

const WorkListModel::Row* WorkListModel::rowAt(int row) const
{
    if (row < 0 || row >= m_count)
        return nullptr;
    const int page = row / kPageSize;
    auto it = m_pages.constFind(page);
    if (it == m_pages.constEnd()) {
        loadPage(page);
        it = m_pages.constFind(page);
    }
    const int offset = row - page * kPageSize;
    return offset < it->size() ? &it->at(offset) : nullptr;
}

QVariant WorkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const auto edited = m_edits.constFind(index.row());
    if (edited != m_edits.constEnd()) {
        const auto value = edited->constFind(index.column());
        if (value != edited->constEnd())
            return *value;
    }
    const Row* row = rowAt(index.row());
    return row && index.column() < row->size() ? row->at(index.column()) : QVariant();
}

bool WorkListModel::loadPageAround(int row, const QVariant& key)
{
    const int page = row / kPageSize;
    if (m_pages.contains(page))
        return true;
    const int first = page * kPageSize;
    const int wanted = std::min(kPageSize, m_count - first);
    const QString select = QStringLiteral("SELECT ") + fieldList() + QStringLiteral(" FROM ") + tableName();
    const QString keyField = keyName();
    Page before;
    Page from;
    bool ok = true;
    if (row > first) {
        ok = readRows(limited(select + whereClause(keyField + QStringLiteral(" < ?")) +
                                  QStringLiteral(" ORDER BY ") + keyField + QStringLiteral(" DESC"),
                              row - first),
                      {key}, &before, nullptr);
        std::reverse(before.begin(), before.end());
    }
    ok = ok && readRows(limited(select + whereClause(keyField + QStringLiteral(" >= ?")) +
                                    QStringLiteral(" ORDER BY ") + keyField,
                                wanted - (row - first)),
                        {key}, &from, nullptr);
    if (!ok || before.size() != row - first)
        return loadPage(page);
    before.append(from);
    m_pages.insert(page, std::move(before));
    return true;
}

int WorkListModel::locate(const QString& column, const QString& value)
{
    const int col = fieldIndex(column);
    if (col < 0 || m_count == 0)
        return -1;
    const QString field =
        database().driver()->escapeIdentifier(record().fieldName(col), QSqlDriver::FieldName);
    const QString key = keyName();
    const QString from = QStringLiteral(" FROM ") + tableName();

    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(limited(QStringLiteral("SELECT ") + key + from +
                              whereClause(field + QStringLiteral(" = ?")) + QStringLiteral(" ORDER BY ") +
                              key,
                          1));
    query.addBindValue(value);
    if (!query.exec() || !query.next())
        return -1;
    const QVariant found = query.value(0);

    // Its position is counted on the shorter side: from the start of the list, or back from its
    // end, so a cow near the end costs as little as one near the start.
    bool fromEnd = false;
    const Row* firstRow = rowAt(0);
    bool numeric = false;
    const double foundKey = found.toDouble(&numeric);
    if (firstRow && numeric) {
        query.prepare(limited(QStringLiteral("SELECT ") + key + from + whereClause() +
                                  QStringLiteral(" ORDER BY ") + key + QStringLiteral(" DESC"),
                              1));
        if (query.exec() && query.next()) {
            const double firstKey = keyOf(*firstRow).toDouble();
            const double lastKey = query.value(0).toDouble();
            fromEnd = lastKey - foundKey < foundKey - firstKey;
        }
    }
    query.prepare(QStringLiteral("SELECT COUNT(*)") + from +
                  whereClause(key + (fromEnd ? QStringLiteral(" >= ?") : QStringLiteral(" < ?"))));
    query.addBindValue(found);
    if (!query.exec() || !query.next())
        return -1;
    const int row = fromEnd ? m_count - query.value(0).toInt() : query.value(0).toInt();
    if (row < 0 || row >= m_count)
        return -1;
    loadPageAround(row, found);
    return row;
}

QVariantList WorkListModel::columnValues(const QString& column) const
{
    QVariantList values;
    const int col = fieldIndex(column);
    if (col < 0 || m_keyColumn < 0)
        return values;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    const QString field =
        database().driver()->escapeIdentifier(record().fieldName(col), QSqlDriver::FieldName);
    if (!query.exec(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM ") + tableName() +
                    whereClause() + QStringLiteral(" ORDER BY ") + keyName()))
        return values;
    while (query.next())
        values.append(query.value(0));
    return values;
}

bool WorkListModel::selectRow(int row)
{
    const Row* current = rowAt(row);
    if (!current)
        return false;
    const QVariant key = keyOf(*current);
    Page rows;
    QSqlError error;
    if (!readRows(QStringLiteral("SELECT ") + fieldList() + QStringLiteral(" FROM ") + tableName() +
                      QStringLiteral(" WHERE ") + keyName() + QStringLiteral(" = ?"),
                  {key}, &rows, &error)) {
        setLastError(error);
        return false;
    }
    m_edits.remove(row);
    auto page = m_pages.find(row / kPageSize);
    if (page != m_pages.end() && !rows.isEmpty())
        (*page)[row % kPageSize] = rows.first();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

void WorkListModel::clear()
{
    beginResetModel();
    m_pages.clear();
    m_edits.clear();
    m_count = 0;
    m_keyColumn = -1;
    m_filtered = false;
    endResetModel();
    QSqlTableModel::clear();
}

bool WorkListModel::canFetchMore(const QModelIndex&) const
{
    return false;
}

void WorkListModel::fetchMore(const QModelIndex&) {}

void WorkListModel::sort(int, Qt::SortOrder) {}

void WorkListModel::setSort(int, Qt::SortOrder) {}

// ---------------------------------------------------------------- editing

bool WorkListModel::insertRows(int, int, const QModelIndex&)
{
    return false;
}

bool WorkListModel::removeRows(int, int, const QModelIndex&)
{
    return false;
}

bool WorkListModel::isDirty(const QModelIndex& index) const
{
    const auto edited = m_edits.constFind(index.row());
    return edited != m_edits.constEnd() && edited->contains(index.column());
}

bool WorkListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole)
        return QSqlTableModel::setData(index, value, role);
    if (!index.isValid() || index.row() >= m_count || index.column() >= columnCount())
        return false;
    m_edits[index.row()].insert(index.column(), value);
    emit dataChanged(index, index);
    if (editStrategy() == OnFieldChange)
        return submitAll();
    return true;
}

bool WorkListModel::setRecord(int row, const QSqlRecord& values)
{
    if (row < 0 || row >= m_count)
        return false;
    for (int i = 0; i < values.count(); ++i) {
        if (!values.isGenerated(i))
            continue;
        const int col = fieldIndex(values.fieldName(i));
        if (col < 0)
            return false;
        m_edits[row].insert(col, values.value(i));
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    if (editStrategy() != OnManualSubmit)
        return submitAll();
    return true;
}

bool WorkListModel::submitAll()
{
    QSqlDriver* driver = database().driver();
    const bool prepared = driver->hasFeature(QSqlDriver::PreparedQueries);
    while (!m_edits.isEmpty()) {
        const int row = m_edits.firstKey();
        const Row* current = rowAt(row);
        if (!current) {
            m_edits.remove(row);
            continue;
        }
        QSqlRecord values = record();
        for (int i = 0; i < values.count(); ++i)
            values.setGenerated(i, false);
        const QHash<int, QVariant>& edits = m_edits.first();
        for (auto it = edits.constBegin(); it != edits.constEnd(); ++it) {
            values.setValue(it.key(), it.value());
            values.setGenerated(it.key(), true); // only these fields are written
        }
        QSqlRecord where = primaryKey();
        where.setValue(0, keyOf(*current));
        const QString statement =
            driver->sqlStatement(QSqlDriver::UpdateStatement, tableName(), values, prepared) + u' ' +
            driver->sqlStatement(QSqlDriver::WhereStatement, tableName(), where, prepared);
        QSqlQuery query(database());
        bool ok = query.prepare(statement);
        if (ok && prepared) {
            for (int i = 0; i < values.count(); ++i)
                if (values.isGenerated(i))
                    query.addBindValue(values.value(i));
            query.addBindValue(where.value(0));
        }
        ok = ok && query.exec();
        if (!ok) {
            setLastError(query.lastError());
            return false;
        }
        m_edits.remove(row);
        selectRow(row);
    }
    setLastError(QSqlError());
    return true;
}

void WorkListModel::revertAll()
{
    const QList<int> rows = m_edits.keys();
    for (int row : rows)
        revertRow(row);
}

void WorkListModel::revertRow(int row)
{
    if (m_edits.remove(row) > 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool WorkListModel::submit()
{
    if (editStrategy() == OnManualSubmit)
        return true;
    return submitAll();
}

void WorkListModel::revert()
{
    if (editStrategy() == OnRowChange)
        revertAll();
}
