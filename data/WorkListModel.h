#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QSqlTableModel>
#include <QVariant>

class Engine;

// The work list: the view P_vWork opened as a table, with a filter text and a filter switch.
// The filter text is an SQL condition over the view's columns.
//
// The list can hold a whole herd's history (a hundred thousand rows), so it is read in pages:
// a select counts the rows that pass the filter and reads the first page; further pages are read
// when a view or a caller asks for their rows. Rows are kept in the order of their key ProID, and
// a page is found from its neighbour's last key, so scrolling and searching never read the rows
// in between.
//
// Edits go through setData() (or setRecord()) and are written by submitAll(), one UPDATE of the
// view per edited row matched on ProID; the posted rows are then read again, the rest of the list
// stays as it is. Call select() to read the list anew. Use the model through this class: its
// submitAll(), revertAll(), setRecord() and isDirty() replace those of QSqlTableModel.
class WorkListModel : public QSqlTableModel
{
    Q_OBJECT

public:
    static constexpr int kPageSize = 256;

    WorkListModel(QObject* parent, const QSqlDatabase& db);
    // The engine's paging syntax; without one the list pages with LIMIT.
    void setEngine(const Engine* engine) { m_engine = engine; }

    void setFilterText(const QString& text) { m_filterText = text; }
    QString filterText() const { return m_filterText; }
    // Switching the filter on or off re-reads the rows; false when the engine refused the text.
    // A blank filter text leaves the filter off.
    bool setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Sets the filter text and switches the filter on (off for a blank text) with one read.
    bool applyFilter(const QString& text);
    // Re-reads with the current filter.
    bool refresh();

    // The row, among the rows that pass the filter, of the first enrolment whose column equals
    // the value; -1 when there is none. Only the page around that row is read.
    int locate(const QString& column, const QString& value);
    // The values of one column for every row that passes the filter, in the list's order.
    QVariantList columnValues(const QString& column) const;

    // Editing.
    bool submitAll();
    void revertAll();
    bool setRecord(int row, const QSqlRecord& record);
    bool isDirty() const { return !m_edits.isEmpty(); }
    bool isDirty(const QModelIndex& index) const;

    // QSqlTableModel
    void setTable(const QString& tableName) override;
    bool select() override;
    bool selectRow(int row) override;
    void clear() override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;
    // The list keeps its key order; a sort request is ignored.
    void sort(int column, Qt::SortOrder order) override;
    void setSort(int column, Qt::SortOrder order) override;
    void revertRow(int row) override;
    bool submit() override;
    void revert() override;

private:
    using Row = QList<QVariant>;
    using Page = QList<Row>;

    QString fieldList() const;
    // " WHERE (filter)" with the extra condition, or the condition alone.
    QString whereClause(const QString& extra = QString()) const;
    QString keyName() const;
    QString limited(const QString& select, int count, int offset = 0) const;
    bool readRows(const QString& statement, const QVariantList& bound, Page* rows, QSqlError* error) const;
    const Row* rowAt(int row) const;
    bool loadPage(int page) const;
    bool loadPageAround(int row, const QVariant& key);
    QVariant keyOf(const Row& row) const;

    QString m_filterText;
    bool m_filtered = false;
    const Engine* m_engine = nullptr;
    int m_keyColumn = -1;
    int m_count = 0;
    mutable QHash<int, Page> m_pages;
    QMap<int, QHash<int, QVariant>> m_edits; // row -> column -> new value
};
