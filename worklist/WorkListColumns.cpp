#include "worklist/WorkListColumns.h"

#include <QSqlQueryModel>
#include <QSqlRecord>

namespace worklist {

const QList<Column>& columns()
{
    static const QList<Column> list = {
        {QStringLiteral("ProName"), QStringLiteral("پروتكل"), 87},
        {QStringLiteral("PCurLevel"), QStringLiteral("مرحله"), 38},
        {QStringLiteral("Body"), QStringLiteral("بدن"), 36},
        {QStringLiteral("MilkPeriod"), QStringLiteral("شكم"), 33},
        {QStringLiteral("PInDate"), QStringLiteral("شروع پروتكل"), 65},
        {QStringLiteral("StartCurActDate"), QStringLiteral("شروع مرحله"), 64},
        {QStringLiteral("PLastAct"), QStringLiteral("عمل فعلي"), 212},
        {QStringLiteral("PDoc"), QStringLiteral("دكتر"), 58},
        {QStringLiteral("NextLvlDate"), QStringLiteral("تاريخ بعدي"), 64},
        {QStringLiteral("PNextAct"), QStringLiteral("عمل بعدي"), 147},
        {QStringLiteral("DisIn"), QStringLiteral("مدت درمان"), 64},
        {QStringLiteral("CowKind"), QStringLiteral("نوع دام"), 41},
        {QStringLiteral("LastBriding"), QStringLiteral("توليد مثلي"), 57},
        {QStringLiteral("DateLastBriding"), QStringLiteral("تاريخ توليد مثلي"), 77},
        {QStringLiteral("TalghihStatus"), QStringLiteral("تلقيح"), 74},
        {QStringLiteral("DateTalghih"), QStringLiteral("تلقيح آبستني"), 69},
        {QStringLiteral("LastTDate"), QStringLiteral("آخرين تلقيح"), 64},
        {QStringLiteral("TNum"), QStringLiteral("تعداد تلقيح"), 64},
        {QStringLiteral("DryStartDate"), QStringLiteral("خشكي"), 64},
        {QStringLiteral("ZDate"), QStringLiteral("زايش"), 64},
        {QStringLiteral("ZSDate"), QStringLiteral("سقط"), 35},
        {QStringLiteral("ZSittuation"), QStringLiteral("نحوه زايش"), 50},
        {QStringLiteral("MilkAmountSumDate"), QStringLiteral("تاريخ ركورد"), 64},
        {QStringLiteral("MilkAmountSum"), QStringLiteral("شيرآخر"), 44},
        {QStringLiteral("BCode"), QStringLiteral("بهاربند"), 69},
        {QStringLiteral("POutdate"), QStringLiteral("خروج از پروتكل"), 71},
        {QStringLiteral("POutResone"), QStringLiteral("دليل خروج"), 304},
        {QStringLiteral("Serial"), QStringLiteral("سريال"), 100},
    };
    return list;
}

QColor columnBackground(int column)
{
    const int n = column + 1; // the colour groups are counted from one
    if (n >= 1 && n <= 11)
        return n % 2 == 1 ? QColor(233, 255, 213) : QColor(Qt::white);
    if (n >= 13 && n <= 18)
        return QColor(255, 242, 242);
    if (n >= 19 && n <= 22)
        return QColor(232, 232, 255);
    if (n >= 23 && n <= 28)
        return QColor(239, 223, 255);
    return QColor();
}

bool isTitleCentred(int column)
{
    return column != 5 && column != 8;
}

} // namespace worklist

WorkListGridModel::WorkListGridModel(QObject* parent) : QIdentityProxyModel(parent) {}

void WorkListGridModel::setSourceModel(QAbstractItemModel* source)
{
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    // The mapping must be current before the proxy passes the reset on to the views.
    if (source) {
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_sourceColumns.clear(); });
        connect(source, &QAbstractItemModel::modelReset, this, &WorkListGridModel::mapColumns);
    }
    QIdentityProxyModel::setSourceModel(source);
    if (source) {
        // A changed source row is a changed grid row; the view's key column has no grid column.
        disconnect(source, &QAbstractItemModel::dataChanged, this, nullptr);
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
                    if (topLeft.isValid() && bottomRight.isValid())
                        emit dataChanged(index(topLeft.row(), 0), index(bottomRight.row(), columnCount() - 1),
                                         roles);
                });
    }
    mapColumns();
}

void WorkListGridModel::mapColumns()
{
    m_sourceColumns.clear();
    m_gridColumns.clear();
    const auto* sql = qobject_cast<const QSqlQueryModel*>(sourceModel());
    const QSqlRecord rec = sql ? sql->record() : QSqlRecord();
    m_gridColumns.fill(-1, rec.count());
    const QList<worklist::Column>& cols = worklist::columns();
    for (int i = 0; i < cols.size(); ++i) {
        const int source = rec.indexOf(cols.at(i).field);
        m_sourceColumns.append(source);
        if (source >= 0)
            m_gridColumns[source] = i;
    }
}

int WorkListGridModel::sourceColumn(int column) const
{
    if (m_sourceColumns.isEmpty())
        const_cast<WorkListGridModel*>(this)->mapColumns();
    return column >= 0 && column < m_sourceColumns.size() ? m_sourceColumns.at(column) : -1;
}

QModelIndex WorkListGridModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || column >= columnCount() || row >= rowCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex WorkListGridModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int WorkListGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(worklist::columns().size());
}

QModelIndex WorkListGridModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return QModelIndex();
    const int source = sourceColumn(proxyIndex.column());
    return source < 0 ? QModelIndex() : sourceModel()->index(proxyIndex.row(), source);
}

QModelIndex WorkListGridModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    if (m_sourceColumns.isEmpty())
        const_cast<WorkListGridModel*>(this)->mapColumns();
    const int column =
        sourceIndex.column() < m_gridColumns.size() ? m_gridColumns.at(sourceIndex.column()) : -1;
    return column < 0 ? QModelIndex() : createIndex(sourceIndex.row(), column);
}

QVariant WorkListGridModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::BackgroundRole) {
        const QColor colour = worklist::columnBackground(index.column());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant WorkListGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == Qt::DisplayRole)
            return worklist::columns().at(section).caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(worklist::isTitleCentred(section)
                                           ? Qt::Alignment(Qt::AlignCenter)
                                           : Qt::AlignLeading | Qt::AlignVCenter);
        return QVariant();
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags WorkListGridModel::flags(const QModelIndex& index) const
{
    // The grid only shows the list; edits go through the dialogs.
    return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
}
