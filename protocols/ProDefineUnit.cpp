#include "protocols/ProDefineUnit.h"

#include "data/DataUnit.h"
#include "protocols/ProDefineAEUnit.h"
#include "services/Dialogs.h"
#include "services/SideBar.h"
#include "services/SqlText.h"
#include "services/ToolsUnit.h"
#include "services/WindowLook.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

// After "back" (dxButton2Click) the main window's tab bar holds a copy of this window's tab list:
// the all-protocols tab first, then the protocols, those created here included, with the first
// tab current. The copy is made with the bar's signals blocked, so the main window's tab-change
// step has not run. Which tab the main window selects next and whether it filters its work list
// again is the main window's decision, taken after showFor() returns; this window only copies
// the tabs.

namespace {

TProDefineForm* g_instance = nullptr;

const QString kNewProtocol = QStringLiteral("پروتكل جديد");
const QString kNewLevel = QStringLiteral("مرحله جديد");
const QString kEditLevel = QStringLiteral("اصلاح مرحله");
const QString kNoNewLevel = QStringLiteral("-\r ");
const QString kNewLevelIn = QStringLiteral("مرحله جديد در");
const QString kBack = QStringLiteral("برگشت");
const QString kTitle = QStringLiteral("تعريف پروتكل");
const QString kAll = QStringLiteral("همه");
const QString kEnd = QStringLiteral("خاتمه");
const QString kNoteHead = QStringLiteral("آخرين مرحله با عنوان ");
const QString kNoteTail = QStringLiteral(" تعريف شود");
const QString kAskName = QStringLiteral("نام پروتكل جديد");
const QString kDuplicateName = QStringLiteral("نام پروتكل تكراري است ");
const QString kDuplicateLevel = QStringLiteral("خطا در ذخيره سازي . شماره مرحله تكراري است ");

const QString kProName = QStringLiteral("ProName");
const QString kPLevel = QStringLiteral("PLevel");
const QString kPDays = QStringLiteral("PDays");
const QString kPAct = QStringLiteral("PAct");

enum SideBarItem { NewProtocolItem = 0, NewLevelItem = 1, EditLevelItem = 2 };

struct GridColumn
{
    QString field;
    QString caption;
    int width;
};
const QList<GridColumn>& gridColumns()
{
    static const QList<GridColumn> columns{{kPLevel, QStringLiteral("مرحله"), 64},
                                           {kPDays, QStringLiteral("روز"), 64},
                                           {kPAct, QStringLiteral("عمل"), 381}};
    return columns;
}

constexpr int kWindowWidth = 720;
constexpr int kWindowHeight = 470;
constexpr int kPanelWidth = 170;
const QColor kPanelColour(0xD6, 0xDF, 0xF7);

// The names the user compares: Latin letters without their case, every other letter as it is.
QString latinFolded(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return folded;
}

// The grid's view of the levels: the table's own columns with the grid's titles.
class LevelTitles final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        auto* table = qobject_cast<QSqlTableModel*>(sourceModel());
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && table) {
            const QString field = table->record().fieldName(section);
            for (const GridColumn& column : gridColumns())
                if (column.field.compare(field, Qt::CaseInsensitive) == 0)
                    return column.caption;
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

QSqlTableModel* designModel()
{
    TDm* dm = TDm::instance();
    return dm ? dm->MP_ProtocolDesign() : nullptr;
}

} // namespace

struct TProDefineForm::Private
{
    QTabBar* tabs = nullptr;
    QTableView* grid = nullptr;
    SideBar* bar = nullptr;
    QLabel* note = nullptr;
    QPushButton* back = nullptr;
    LevelTitles* titles = nullptr;
    QPointer<QTabBar> mainTabs;

    // Puts the shared level table under the grid once it exists; returns it.
    QSqlTableModel* model()
    {
        QSqlTableModel* table = designModel();
        if (!table || titles->sourceModel() == table)
            return table;
        // Rows are stored only when this window says so: a row stays pending while the level
        // dialog is open and is then either stored or discarded.
        table->setEditStrategy(QSqlTableModel::OnManualSubmit);
        titles->setSourceModel(table);
        layoutColumns();
        return table;
    }

    // Only the level, day and action columns, in that order, with their widths.
    void layoutColumns()
    {
        auto* table = qobject_cast<QSqlTableModel*>(titles->sourceModel());
        if (!table)
            return;
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < table->columnCount(); ++c)
            grid->setColumnHidden(c, true);
        int visual = 0;
        for (const GridColumn& column : gridColumns()) {
            const int logical = table->fieldIndex(column.field);
            if (logical < 0)
                continue;
            grid->setColumnHidden(logical, false);
            header->moveSection(header->visualIndex(logical), visual++);
            header->resizeSection(logical, column.width);
        }
    }
};

TProDefineForm::TProDefineForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , d(new Private)
{
    g_instance = this;
    setObjectName(QStringLiteral("ProDefineForm"));
    setWindowTitle(kTitle);
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::windowFont(font()));
    setFixedSize(kWindowWidth, kWindowHeight);

    d->tabs = new QTabBar(this);
    d->tabs->setObjectName(QStringLiteral("PrNamesTab"));
    d->tabs->setExpanding(false);
    d->tabs->setDrawBase(false);
    d->tabs->setUsesScrollButtons(true);
    d->tabs->setElideMode(Qt::ElideNone);
    // Tabs drawn as a row of buttons.
    d->tabs->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid #8a9bc4; border-radius: 3px; padding: 3px 12px; margin: 2px; "
        "background: #eef2fb; }"
        "QTabBar::tab:selected { background: #ffffff; border: 1px solid #35509a; font-weight: bold; }"));

    d->grid = new QTableView(this);
    d->grid->setObjectName(QStringLiteral("CRDBGrid1"));
    d->grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    d->grid->setSelectionMode(QAbstractItemView::SingleSelection);
    d->grid->setCornerButtonEnabled(false);
    d->grid->setSortingEnabled(false);
    d->grid->verticalHeader()->hide();
    const int rowHeight = d->grid->fontMetrics().height() + 6;
    d->grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    d->grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    d->grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    d->grid->horizontalHeader()->setHighlightSections(false);
    d->grid->horizontalHeader()->setStretchLastSection(false);
    d->grid->horizontalHeader()->setSectionsClickable(false);
    d->grid->horizontalHeader()->setMinimumSectionSize(16); // the style's minimum is wider than 64
    d->grid->installEventFilter(this);
    d->titles = new LevelTitles(this);
    d->grid->setModel(d->titles);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedWidth(kPanelWidth);
    ui::fillBackground(panel, kPanelColour);

    d->bar = new SideBar(panel);
    d->bar->setObjectName(QStringLiteral("dxWinXPBar1"));
    d->bar->addItem(kNewProtocol);
    d->bar->addItem(kNewLevel);
    d->bar->addItem(kEditLevel);

    d->note = new QLabel(kNoteHead + u'"' + kEnd + u'"' + kNoteTail, panel);
    d->note->setObjectName(QStringLiteral("Label1"));
    d->note->setWordWrap(true);
    d->note->setAlignment(Qt::AlignCenter);

    d->back = new QPushButton(kBack, panel);
    d->back->setObjectName(QStringLiteral("dxButton2"));
    d->back->setAutoDefault(false);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(d->bar);
    panelLayout->addStretch(1);
    panelLayout->addWidget(d->note);
    panelLayout->addSpacing(6);
    panelLayout->addWidget(d->back);

    auto* levels = new QVBoxLayout;
    levels->setSpacing(2);
    levels->addWidget(d->tabs);
    levels->addWidget(d->grid, 1);

    // Right to left: the panel comes first, along the right edge.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);
    layout->addLayout(levels, 1);

    connect(d->tabs, &QTabBar::currentChanged, this, [this] { PrNamesTabChange(); });
    connect(d->bar, &SideBar::itemClicked, this, [this](int item) {
        switch (item) {
        case NewProtocolItem:
            dxWinXPBar1Items0Click();
            break;
        case NewLevelItem:
            dxWinXPBar1Items1Click();
            break;
        case EditLevelItem:
            dxWinXPBar1Items2Click();
            break;
        default:
            break;
        }
    });
    connect(d->back, &QPushButton::clicked, this, &TProDefineForm::dxButton2Click);
}

TProDefineForm::~TProDefineForm()
{
    if (g_instance == this)
        g_instance = nullptr;
    delete d;
}

TProDefineForm* TProDefineForm::instance() { return g_instance; }

QString TProDefineForm::deleteQuestion()
{
    // The grid's own confirmation text; it is not one of the tool's Persian messages.
    return QStringLiteral("Delete record?");
}

void TProDefineForm::showFor(QTabBar* mainTabs)
{
    d->mainTabs = mainTabs;
    {
        const QSignalBlocker blocker(d->tabs);
        while (d->tabs->count() > 0)
            d->tabs->removeTab(0);
        if (mainTabs)
            for (int i = 0; i < mainTabs->count(); ++i)
                d->tabs->addTab(mainTabs->tabText(i));
        if (d->tabs->count() == 0)
            d->tabs->addTab(kAll);
        d->tabs->setCurrentIndex(0);
    }
    d->model();
    exec(); // FormShow applies the first tab
}

void TProDefineForm::FormShow() { PrNamesTabChange(); }

void TProDefineForm::PrNamesTabChange()
{
    QSqlTableModel* table = d->model();
    const int tab = d->tabs->currentIndex();
    QString filter;
    if (tab <= 0) {
        d->bar->setItemEnabled(NewLevelItem, false);
        d->bar->setCaption(NewLevelItem, kNoNewLevel);
    } else {
        const QString name = d->tabs->tabText(tab);
        d->bar->setItemEnabled(NewLevelItem, true);
        d->bar->setCaption(NewLevelItem, kNewLevelIn + name);
        filter = QStringLiteral("ProName=") + sqltext::quoted(name);
    }
    if (!table)
        return;
    table->setFilter(filter);
    table->select();
    d->layoutColumns();
}

void TProDefineForm::dxWinXPBar1Items0Click()
{
    QString name;
    if (!TTools::instance()->InQuery(kAskName, name))
        return;
    const QString folded = latinFolded(name);
    for (int i = 0; i < d->tabs->count(); ++i) {
        if (latinFolded(d->tabs->tabText(i)) == folded) {
            TTools::instance()->ShowMsg(kDuplicateName);
            return;
        }
    }
    {
        const QSignalBlocker blocker(d->tabs);
        d->tabs->setCurrentIndex(d->tabs->addTab(name));
    }
    PrNamesTabChange();
    // The protocol comes into being with its first stored level.
    dxWinXPBar1Items1Click();
}

void TProDefineForm::dxWinXPBar1Items1Click()
{
    QSqlTableModel* table = d->model();
    const int tab = d->tabs->currentIndex();
    if (!table || tab <= 0)
        return;
    const QString name = d->tabs->tabText(tab);
    for (;;) {
        while (table->canFetchMore())
            table->fetchMore();
        const int row = table->rowCount();
        table->insertRow(row);
        // Level and days start empty (NULL), the action too.
        table->setData(table->index(row, table->fieldIndex(kProName)), name);
        selectRow(row);
        if (TProDefineAEForm::instance()->execOnRow(table, row) != QDialog::Accepted) {
            table->revertAll();
            return;
        }
        storeOrDiscard();
    }
}

void TProDefineForm::dxWinXPBar1Items2Click()
{
    QSqlTableModel* table = d->model();
    if (!table)
        return;
    while (table->canFetchMore())
        table->fetchMore();
    int row = currentRow();
    if (row < 0) {
        // No level at all: a wholly empty new row, stored as a new level on OK.
        row = table->rowCount();
        table->insertRow(row);
    }
    selectRow(row);
    if (TProDefineAEForm::instance()->execOnRow(table, row) != QDialog::Accepted) {
        table->revertAll();
        return;
    }
    if (storeOrDiscard())
        selectRow(qMin(row, table->rowCount() - 1));
}

void TProDefineForm::dxButton2Click()
{
    if (d->mainTabs) {
        const QSignalBlocker blocker(d->mainTabs.data());
        while (d->mainTabs->count() > 0)
            d->mainTabs->removeTab(0);
        for (int i = 0; i < d->tabs->count(); ++i)
            d->mainTabs->addTab(d->tabs->tabText(i));
    }
    accept();
}

void TProDefineForm::CRDBGrid1KeyDown(QKeyEvent* event)
{
    event->accept();
    QSqlTableModel* table = d->model();
    const int row = currentRow();
    if (!table || row < 0)
        return;
    if (TTools::instance()->AskYesNo(deleteQuestion()) != Dialogs::Yes)
        return;
    table->removeRow(row);
    if (!table->submitAll())
        table->revertAll(); // the level stays; the table said why in its last error
    else
        selectRow(qMin(row, table->rowCount() - 1));
}

int TProDefineForm::currentRow() const
{
    const QSqlTableModel* table = designModel();
    if (!table || table->rowCount() == 0)
        return -1;
    const QModelIndex current = d->grid->currentIndex();
    // Like a data set, a grid with rows always has a current one: the first unless one is chosen.
    return current.isValid() ? current.row() : 0;
}

void TProDefineForm::selectRow(int row)
{
    if (row < 0 || row >= d->titles->rowCount())
        return;
    for (const GridColumn& column : gridColumns()) {
        const auto* table = qobject_cast<QSqlTableModel*>(d->titles->sourceModel());
        const int logical = table ? table->fieldIndex(column.field) : -1;
        if (logical >= 0) {
            d->grid->setCurrentIndex(d->titles->index(row, logical));
            return;
        }
    }
}

bool TProDefineForm::storeOrDiscard()
{
    QSqlTableModel* table = d->model();
    if (table->submitAll())
        return true;
    // The unique key on protocol and level is what refuses a store in practice; every refusal
    // is reported as a repeated level.
    TTools::instance()->ShowMsg(kDuplicateLevel);
    table->revertAll();
    return false;
}

void TProDefineForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TProDefineForm::keyPressEvent(QKeyEvent* event)
{
    // The window is left only through its back button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TProDefineForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            CRDBGrid1KeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
