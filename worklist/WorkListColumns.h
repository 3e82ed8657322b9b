#pragma once

#include <QColor>
#include <QIdentityProxyModel>
#include <QList>
#include <QString>

class QSqlQueryModel;

// The work list grid's columns: their order is shared by the details view, the report hand-off
// and the single-cow dialogs, which list a row's values in the grid's order.
namespace worklist {

struct Column
{
    QString field;   // column of the view P_vWork
    QString caption; // the grid's title
    int width;       // in pixels
};

// The 28 columns in the grid's order.
const QList<Column>& columns();

inline constexpr int kProNameColumn = 0;   // hidden while a protocol is chosen
inline constexpr int kPCurLevelColumn = 1; // hidden while a level is chosen

// The background of a column's cells; invalid for the grid's own colour.
QColor columnBackground(int column);
// Whether a column's title is centred.
bool isTitleCentred(int column);

} // namespace worklist

// The work list as the grid shows it: the view's columns rearranged into the grid's order, with
// their titles, title alignment and background colours. Rows are the source's rows.
class WorkListGridModel final : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit WorkListGridModel(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The source column of a grid column; -1 when the view lacks the field.
    int sourceColumn(int column) const;

private:
    void mapColumns();

    QList<int> m_sourceColumns; // grid column -> source column
    QList<int> m_gridColumns;   // source column -> grid column
};
