#include "worklist/MainUnit.h"

#include "data/DataUnit.h"
#include "data/WorkListModel.h"
#include "protocols/ProDefineUnit.h"
#include "services/AppControl.h"
#include "services/LogBoard.h"
#include "services/Paths.h"
#include "services/SideBar.h"
#include "services/SqlText.h"
#include "services/TextFile.h"
#include "services/ToolsUnit.h"
#include "services/WindowLook.h"
#include "worklist/FilterFiles.h"
#include "worklist/UserTabBar.h"
#include "worklist/WorkListColumns.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

TMainForm* g_instance = nullptr;

const QString kAll = QStringLiteral("همه");
const QString kNew = QStringLiteral("جديد");
constexpr int kLevels = 15;
constexpr int kAllTab = 0;
constexpr int kNewTab = 1;

const QColor kFoundColour(225, 225, 255);
const QColor kNotFoundColour(253, 210, 198);
const QColor kSidePanelColour(255, 255, 242);

const QString kFilterFolder = QStringLiteral("PRep");
const QString kFilterSuffix = QStringLiteral(".Pro");
const QString kEditor = QStringLiteral("Plugin/Npp.exe");
const QString kReportGenerator = QStringLiteral("VexaSystem.exe");
const QString kReportDefinition = QStringLiteral("Protocol.JSC");
const QString kReportName = QStringLiteral("PassedReportName.txt");

QFont windowFont()
{
    QFont font;
    font.setPointSize(8);
    return ui::windowFont(font);
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    g_instance = this;
    setObjectName(QStringLiteral("MainForm"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(windowFont());
    buildWindow();
    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);
    FormCreate();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    if (g_instance == this)
        g_instance = nullptr;
}

TMainForm* TMainForm::instance()
{
    return g_instance;
}

QTabBar* TMainForm::PrNamesTab() const
{
    return m_protocols;
}
QTabBar* TMainForm::LevelTab() const
{
    return m_levels;
}
QTabBar* TMainForm::ProgTab() const
{
    return m_filters;
}

WorkListModel* TMainForm::workList() const
{
    return TDm::instance() ? TDm::instance()->TP_VWork() : nullptr;
}

// ---------------------------------------------------------------- layout

void TMainForm::buildWindow()
{
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // Right to left: the side panel comes first, so it stands on the right.
    outer->addWidget(buildSidePanel());

    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(2, 2, 2, 2);
    middle->setSpacing(2);

    m_protocols = new UserTabBar(central);
    m_protocols->setObjectName(QStringLiteral("PrNamesTab"));
    m_protocols->setShape(QTabBar::RoundedNorth);
    m_protocols->setDrawBase(false);
    m_protocols->setExpanding(false);
    m_protocols->setUsesScrollButtons(true);
    m_protocols->addTab(kAll);
    middle->addWidget(m_protocols);

    auto* gridRow = new QHBoxLayout;
    gridRow->setSpacing(2);
    m_grid = new QTableView(central);
    m_grid->setObjectName(QStringLiteral("CRDBGrid1"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    // Narrow columns clip their values rather than elide them: body numbers must stay whole.
    m_grid->setTextElideMode(Qt::ElideNone);
    m_grid->setSortingEnabled(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as tight as the text allows: the fonts with Arabic letters have a tall line.
    m_grid->verticalHeader()->setMinimumSectionSize(12);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height());
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setMinimumSectionSize(8); // the narrowest columns are 33 pixels
    m_gridModel = new WorkListGridModel(this);
    gridRow->addWidget(m_grid, 1);

    // The level strip stands along the window's left edge, beside the grid.
    m_levels = new UserTabBar(central);
    m_levels->setObjectName(QStringLiteral("LevelTab"));
    m_levels->setShape(QTabBar::RoundedWest);
    m_levels->setDrawBase(false);
    m_levels->setExpanding(false);
    m_levels->setAttribute(Qt::WA_Hover);
    m_levels->addTab(kAll);
    for (int level = 1; level <= kLevels; ++level)
        m_levels->addTab(QString::number(level));
    auto* levelColumn = new QVBoxLayout;
    levelColumn->addWidget(m_levels);
    levelColumn->addStretch(1);
    gridRow->addLayout(levelColumn);
    middle->addLayout(gridRow, 1);

    m_filters = new UserTabBar(central);
    m_filters->setObjectName(QStringLiteral("ProgTab"));
    m_filters->setShape(QTabBar::RoundedSouth);
    m_filters->setDrawBase(false);
    m_filters->setExpanding(false);
    m_filters->setUsesScrollButtons(true);
    m_filters->addTab(kAll);
    m_filters->addTab(kNew);
    middle->addWidget(m_filters);

    outer->addLayout(middle, 1);
    setCentralWidget(central);

    connect(m_protocols, &UserTabBar::userSelected, this, [this] { PrNamesTabChange(); });
    connect(m_levels, &UserTabBar::userSelected, this, [this] { PrNamesTabChange(); });
    connect(m_filters, &UserTabBar::userSelected, this, [this] { ProgTabChange(); });
    connect(m_filters, &UserTabBar::mouseReleased, this, &TMainForm::ProgTabMouseUp);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { CRDBGrid1DblClick(); });
}

QWidget* TMainForm::buildSidePanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("SidePanel"));
    panel->setFixedWidth(174);
    ui::fillBackground(panel, kSidePanelColour);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 8, 4, 8);
    layout->setSpacing(6);

    m_about = new QLabel(panel);
    m_about->setObjectName(QStringLiteral("StaticText1"));
    m_about->setAlignment(Qt::AlignCenter);
    m_about->setLayoutDirection(Qt::LeftToRight);
    m_about->setWordWrap(true);
    m_about->setFrameShape(QFrame::StyledPanel);
    m_about->setMinimumHeight(48);
    layout->addWidget(m_about);

    m_sideBar = new SideBar(panel);
    m_sideBar->setObjectName(QStringLiteral("dxWinXPBar1"));
    m_sideBar->addItem(QStringLiteral("تعريف پروتكل"));
    m_sideBar->addItem(QStringLiteral("ورود دام به پروتكل"), false);
    m_sideBar->addItem(QStringLiteral("انتقال دام به مرحله بعد"));
    m_sideBar->addItem(QStringLiteral("خروج از پروتكل"));
    m_sideBar->addItem(QStringLiteral(" "), false);
    m_sideBar->addItem(QStringLiteral("گزارش"));
    m_sideBar->addItem(QStringLiteral(" "));
    m_sideBar->addItem(QStringLiteral("ليست پيشنهادي ورود"));
    connect(m_sideBar, &SideBar::itemClicked, this, [this](int item) {
        switch (item) {
        case DefineProtocol:
            dxWinXPBar1Items0Click();
            break;
        case EnterCow:
            dxWinXPBar1Items1Click();
            break;
        case NextLevel:
            dxWinXPBar1Items2Click();
            break;
        case ExitProtocol:
            dxWinXPBar1Items3Click();
            break;
        case Report:
            dxWinXPBar1Items5Click();
            break;
        case SuggestedList:
            dxWinXPBar1Items7Click();
            break;
        default:
            break;
        }
    });
    layout->addWidget(m_sideBar);
    layout->addStretch(1);

    m_groupMode = new QCheckBox(QStringLiteral("حالت عمليات جمعي"), panel);
    m_groupMode->setObjectName(QStringLiteral("dxCheckbox2"));
    connect(m_groupMode, &QCheckBox::clicked, this, [this] { dxCheckbox2Click(); });
    layout->addWidget(m_groupMode);

    auto* bodyRow = new QHBoxLayout;
    auto* bodyLabel = new QLabel(QStringLiteral("بدن"), panel);
    bodyLabel->setObjectName(QStringLiteral("Label1"));
    m_bodyEdit = new QLineEdit(panel);
    m_bodyEdit->setObjectName(QStringLiteral("Edit1"));
    m_bodyEdit->setFrame(false);
    m_bodyEdit->setAutoFillBackground(true);
    setBodyBoxColour(kNotFoundColour);
    connect(m_bodyEdit, &QLineEdit::returnPressed, this, [this] { Edit1KeyPress(Qt::Key_Return); });
    bodyRow->addWidget(bodyLabel);
    bodyRow->addWidget(m_bodyEdit, 1);
    layout->addLayout(bodyRow);

    m_showDetails = new QCheckBox(QStringLiteral("نمايش فوري اطلاعات"), panel);
    m_showDetails->setObjectName(QStringLiteral("dxCheckbox1"));
    m_showDetails->setChecked(true);
    layout->addWidget(m_showDetails);

    m_exit = new QPushButton(QStringLiteral("خروج"), panel);
    m_exit->setObjectName(QStringLiteral("dxButton2"));
    connect(m_exit, &QPushButton::clicked, this, [this] { dxButton2Click(); });
    layout->addWidget(m_exit);
    return panel;
}

void TMainForm::bindGrid()
{
    WorkListModel* model = workList();
    if (!model || m_gridModel->sourceModel() == model)
        return;
    m_gridModel->setSourceModel(model);
    m_grid->setModel(m_gridModel);
    const QList<worklist::Column>& columns = worklist::columns();
    for (int i = 0; i < columns.size(); ++i)
        m_grid->setColumnWidth(i, columns.at(i).width);
    // Every new reading of the list starts on its first row, as a data set does.
    connect(m_gridModel, &QAbstractItemModel::modelReset, this, [this] {
        if (m_gridModel->rowCount() > 0)
            setCurrentRow(0);
    });
}

void TMainForm::setBodyBoxColour(const QColor& colour)
{
    QPalette palette = m_bodyEdit->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    m_bodyEdit->setPalette(palette);
}

// ---------------------------------------------------------------- helpers

void TMainForm::selectTab(QTabBar* bar, int index)
{
    if (bar && index >= 0 && index < bar->count())
        bar->setCurrentIndex(index);
}

int TMainForm::currentRow() const
{
    const int rows = m_grid->model() ? m_grid->model()->rowCount() : 0;
    if (rows == 0)
        return -1;
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TMainForm::setCurrentRow(int row)
{
    if (!m_grid->model() || row < 0 || row >= m_grid->model()->rowCount())
        return;
    int column = 0;
    while (column < m_gridModel->columnCount() - 1 && m_grid->isColumnHidden(column))
        ++column;
    const QModelIndex index = m_gridModel->index(row, column);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void TMainForm::setItemAction(int item, std::function<void()> action)
{
    m_itemActions.insert(item, std::move(action));
}

void TMainForm::setGroupModeAction(std::function<void()> action)
{
    m_groupModeAction = std::move(action);
}

void TMainForm::runItemAction(int item)
{
    const auto action = m_itemActions.value(item);
    if (action)
        action();
}

void TMainForm::applyWorkListFilter(const QString& text)
{
    WorkListModel* model = workList();
    if (!model)
        return;
    if (model->applyFilter(text))
        return;
    // A saved filter with a mistake: say what the engine said and show the whole list.
    const QString error = model->lastError().text();
    model->setFiltered(false);
    TTools::instance()->ShowExceptMsg(QStringLiteral("خطا در اجراي دستور") + u'\r' + text, error);
}

// ---------------------------------------------------------------- show step and filters

void TMainForm::FormCreate()
{
    m_folder = paths::programFolder();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    TTools* tools = TTools::instance();
    bindGrid();
    // The suggested list binds its grid to QAskCh only while its window is open, so reusing the
    // query below disturbs no other window.
    m_groupMode->setChecked(false);
    RefreshIt();
    setBodyBoxColour(kFoundColour);
    tools->refreshFarsiToday();
    m_about->setText(QStringLiteral("نرم افزاركنترل دام در پروتكل") + u'\n' +
                     QCoreApplication::applicationVersion());
    selectTab(m_protocols, kAllTab);
    m_sideBar->setItemEnabled(EnterCow, false);
    m_folder = paths::programFolder();

    TDm* dm = TDm::instance();
    QString error;
    if (!dm || !dm->openQAskCh(QStringLiteral("Select DisTinct ProName From [P_ProtocolDesign]"), &error)) {
        tools->ShowBoxClose();
        tools->ShowExceptMsg(QStringLiteral("خطا در اجراي دستور"), error);
        return;
    }
    QSqlQueryModel* names = dm->QAskCh();
    while (names->canFetchMore())
        names->fetchMore();
    for (int row = 0; row < names->rowCount(); ++row)
        m_protocols->addTab(names->record(row).value(0).toString());
    tools->ShowBoxClose();
}

void TMainForm::RefreshIt()
{
    selectTab(m_filters, kAllTab);
    while (m_filters->count() > 0)
        m_filters->removeTab(0);
    m_filters->addTab(kAll);
    m_filters->addTab(kNew);
    const QString folder = m_folder + kFilterFolder + u'/';
    const QDir dir(folder);
    if (!dir.exists()) {
        TTools::instance()->ShowMsg(QStringLiteral("پوشه برنامه ها پيدا نشد \r") + nativePath(folder));
        return;
    }
    const QStringList files =
        dir.entryList({u'*' + kFilterSuffix}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files)
        m_filters->addTab(filterfiles::captionOfFileName(file));
}

void TMainForm::FilterIt()
{
    QString filter;
    const bool protocolChosen = m_protocols->currentIndex() > kAllTab;
    if (protocolChosen)
        filter =
            QStringLiteral("ProName=") + sqltext::quoted(m_protocols->tabText(m_protocols->currentIndex()));
    m_grid->setColumnHidden(worklist::kProNameColumn, protocolChosen);

    const bool levelChosen = m_levels->currentIndex() > kAllTab;
    if (levelChosen) {
        const QString level = m_levels->tabText(m_levels->currentIndex());
        if (!filter.isEmpty())
            filter += QStringLiteral(" And PCurLevel=") + level;
        else
            filter = QStringLiteral(" PcurLevel=") + level;
    }
    m_grid->setColumnHidden(worklist::kPCurLevelColumn, levelChosen);

    selectTab(m_filters, kAllTab);
    applyWorkListFilter(filter);
    m_sideBar->setItemEnabled(EnterCow, protocolChosen);
    RefreshIt();
}

void TMainForm::PrNamesTabChange()
{
    FilterIt();
}

// ---------------------------------------------------------------- body search and details

void TMainForm::Edit1KeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const QString body = sqltext::padBody(m_bodyEdit->text());
    m_bodyEdit->setText(body);
    WorkListModel* model = workList();
    const int row = model ? model->locate(QStringLiteral("Body"), body) : -1;
    if (row >= 0) {
        setCurrentRow(row);
        setBodyBoxColour(kFoundColour);
        if (m_showDetails->isChecked())
            CRDBGrid1DblClick();
    } else {
        setBodyBoxColour(kNotFoundColour);
    }
    m_bodyEdit->selectAll();
}

void TMainForm::CRDBGrid1DblClick()
{
    LogBoard* board = TTools::instance()->board();
    if (!board)
        return;
    WorkListModel* model = workList();
    const int row = currentRow();
    board->startRecording(true, QStringLiteral("مشخصات"));
    const QList<worklist::Column>& columns = worklist::columns();
    for (int i = 0; i < columns.size(); ++i) {
        const int source = m_gridModel->sourceColumn(i);
        const QString value = row >= 0 && source >= 0 && model
                                  ? model->data(model->index(row, source), Qt::DisplayRole).toString()
                                  : QString();
        board->postThisMessage(columns.at(i).caption, value);
    }
    board->stopRecording();
}

// ---------------------------------------------------------------- keys and exit

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        if (FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key)
{
    auto next = [](QTabBar* bar) {
        return bar->currentIndex() + 1 < bar->count() ? bar->currentIndex() + 1 : kAllTab;
    };
    switch (key) {
    case Qt::Key_Escape:
        dxButton2Click();
        return true;
    case Qt::Key_F2:
        selectTab(m_protocols, next(m_protocols));
        FilterIt();
        return true;
    case Qt::Key_F3:
        selectTab(m_levels, next(m_levels));
        FilterIt();
        return true;
    case Qt::Key_F4: {
        int index = next(m_filters);
        if (index == kNewTab)
            index = m_filters->count() > kNewTab + 1 ? kNewTab + 1 : kAllTab;
        selectTab(m_filters, index);
        ProgTabChange();
        return true;
    }
    default:
        return false;
    }
}

void TMainForm::dxButton2Click()
{
    appcontrol::requestEnd();
}

// ---------------------------------------------------------------- saved filters and the editor

void TMainForm::ProgTabChange()
{
    TTools* tools = TTools::instance();
    WorkListModel* model = workList();
    const int tab = m_filters->currentIndex();
    if (tab == kAllTab) {
        RefreshIt();
        if (model)
            model->setFiltered(false);
        return;
    }
    if (tab == kNewTab) {
        if (!QFileInfo::exists(m_folder + kEditor)) {
            tools->ShowMsg(QStringLiteral("برنامه ويرايش روي اين سيستم نصب نشده است "));
            return;
        }
        QString name;
        if (!tools->InQuery(QStringLiteral("نام فيلتر را مشخص كنيد "), name)) {
            if (model)
                model->setFiltered(false);
            return;
        }
        const QString folder = m_folder + kFilterFolder;
        if (!QDir(folder).exists() && !QDir().mkpath(folder)) {
            tools->ShowMsg(QStringLiteral("قادر يه ايجاد \r") + nativePath(m_folder + kFilterFolder + u'/') +
                           u'\r' + QStringLiteral("نيستم !!! "));
            return;
        }
        startEditor(folder + u'/' + name + kFilterSuffix);
        return;
    }

    const QString path = m_folder + kFilterFolder + u'/' + m_filters->tabText(tab) + kFilterSuffix;
    QStringList lines;
    QString error;
    if (!textfile::readLines(path, &lines, &error)) {
        tools->ShowExceptMsg(nativePath(path), error);
        return;
    }
    const QString text =
        filterfiles::replaceDatePlaceholder(filterfiles::filterTextOfLines(lines), tools->FarsiToday());
    selectTab(m_protocols, kAllTab);
    selectTab(m_levels, kAllTab);
    applyWorkListFilter(text);
}

void TMainForm::ProgTabMouseUp(Qt::MouseButton, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier) || m_filters->currentIndex() == kNewTab)
        return;
    if (!QFileInfo::exists(m_folder + kEditor)) {
        TTools::instance()->ShowMsg(QStringLiteral("برنامه ويرايش روي اين سيستم نصب نشده است "));
        return;
    }
    startEditor(m_folder + kFilterFolder + u'/' + m_filters->tabText(m_filters->currentIndex()) +
                kFilterSuffix);
}

void TMainForm::startEditor(const QString& filePath)
{
    // The trailing blanks of the editor's path are trimmed by the starter.
    TTools::instance()->ExecuteFilePara(m_folder + kEditor + QStringLiteral("  "),
                                        filterfiles::editorArguments(nativePath(filePath)));
}

// ---------------------------------------------------------------- report hand-off

void TMainForm::dxWinXPBar1Items5Click()
{
    TTools* tools = TTools::instance();
    if (!QFileInfo::exists(m_folder + kReportGenerator)) {
        tools->ShowMsg(QStringLiteral("سيستم گزارشگير روي اين كامپيوتر نصب نشده است"));
        return;
    }
    QList<filterfiles::ReportColumn> visible;
    const QList<worklist::Column>& columns = worklist::columns();
    for (int i = 0; i < columns.size(); ++i)
        if (!m_grid->isColumnHidden(i))
            visible.append({columns.at(i).caption, columns.at(i).field});
    WorkListModel* model = workList();
    const bool filtered = model && model->filtered();
    textfile::writeLines(
        m_folder + kReportDefinition,
        filterfiles::reportDefinition(visible, filtered, filtered ? model->filterText() : QString()));
    textfile::writeLines(m_folder + kReportName, {kReportDefinition});
    tools->ExecuteFile(m_folder + kReportGenerator);
}

// ---------------------------------------------------------------- other side-bar items

void TMainForm::dxWinXPBar1Items0Click()
{
    // After the protocol window has put its names back, the strip keeps the protocol that was
    // chosen before when it still exists, and the list keeps its filter. When that protocol is
    // gone, the strip falls back to "all" and the list is filtered anew, so list and strip agree.
    const int before = m_protocols->currentIndex();
    const QString chosen = m_protocols->tabText(before);
    if (TProDefineForm* window = TProDefineForm::instance())
        window->showFor(m_protocols);
    if (before <= kAllTab) {
        selectTab(m_protocols, kAllTab);
        return;
    }
    for (int i = kAllTab + 1; i < m_protocols->count(); ++i) {
        if (m_protocols->tabText(i) == chosen) {
            selectTab(m_protocols, i);
            return;
        }
    }
    selectTab(m_protocols, kAllTab);
    FilterIt();
}

void TMainForm::dxWinXPBar1Items1Click()
{
    runItemAction(EnterCow);
}

void TMainForm::dxWinXPBar1Items2Click()
{
    runItemAction(NextLevel);
}

void TMainForm::dxWinXPBar1Items3Click()
{
    runItemAction(ExitProtocol);
}

void TMainForm::dxWinXPBar1Items7Click()
{
    runItemAction(SuggestedList);
}

void TMainForm::dxCheckbox2Click()
{
    if (m_groupModeAction)
        m_groupModeAction();
}
