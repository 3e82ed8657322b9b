#include "group/MessageBoardUnit.h"

#include "group/BusyIndicator.h"
#include "platform/Platform.h"
#include "services/Dialogs.h"
#include "services/TextFile.h"
#include "services/WindowLook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString kCountPrefix = QStringLiteral("تعداد سطر : ");
const QString kBackCaption = QStringLiteral("برگشت");
const QString kSaveCaption = QStringLiteral("ذخيره گزارش");
const QString kEmptyList = QStringLiteral("ليست خالي است");
// Description and pattern pairs separated by "|", as the save dialog's filter is written down.
const QString kSaveFilter = QStringLiteral("فايلهاي گزارش|*.Txt|همه فايلها|*.*");
const QString kSavedSuffix = QStringLiteral(".Txt");

constexpr int kClientWidth = 547;
constexpr int kClientHeight = 590;
constexpr int kKeyColumnWidth = 188;
constexpr int kValueColumnWidth = 357;
constexpr int kBottomStripHeight = 30;
constexpr int kCountLabelWidth = 281;
// Space kept free below the board when it is stretched to the screen's height.
constexpr int kScreenMargin = 40;
// In a fast burst of rows the board is redrawn at most this often (25 times a second).
constexpr qint64 kPaintIntervalMs = 40;

const QColor kListBackground(0xFF, 0xFF, 0xE6);
const QColor kTitleRowBackground(0xD9, 0xFF, 0xD9);
const QColor kCountBackground(0xE4, 0xE1, 0xDC);

// "desc|pattern|desc|pattern" into the file dialog's "desc (pattern);;desc (pattern)".
QString fileDialogFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) + u')');
    return filters.join(QStringLiteral(";;"));
}


// The pieces of a value: at most kRowWidth characters in the first; each later one runs up to
// and including the first blank at or after position kRowWidth, or to the end.
QStringList splitValue(const QString& value)
{
    const qsizetype limit = TMessageBoardForm::kRowWidth;
    if (value.size() <= limit)
        return {value};
    QStringList pieces{value.left(limit)};
    QString rest = value.mid(limit);
    while (!rest.isEmpty()) {
        qsizetype length = rest.size();
        if (rest.size() > limit) {
            const qsizetype blank = rest.indexOf(u' ', limit - 1);
            if (blank >= 0)
                length = blank + 1;
        }
        pieces.append(rest.left(length));
        rest.remove(0, length);
    }
    return pieces;
}

// Draws the one grid line of the list: between the key and the value column, on whichever side
// the key column has its neighbour.
class ColumnLineDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != BoardRowModel::KeyColumn)
            return;
        const QWidget* view = option.widget;
        const QStyle* style = view ? view->style() : nullptr;
        const QColor line =
            style ? QColor(QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &option, view)))
                  : QColor(Qt::gray);
        const int x = option.direction == Qt::RightToLeft ? option.rect.left() : option.rect.right();
        painter->save();
        painter->setPen(line);
        painter->drawLine(x, option.rect.top(), x, option.rect.bottom());
        painter->restore();
    }
};

} // namespace

// --- BoardRowModel ---------------------------------------------------------------------------

BoardRowModel::BoardRowModel(QObject* parent) : QAbstractTableModel(parent) {}

void BoardRowModel::append(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const int first = int(m_lines.size());
    beginInsertRows({}, first, first + int(lines.size()) - 1);
    m_lines.append(lines);
    endInsertRows();
}

void BoardRowModel::clear()
{
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

QString BoardRowModel::keyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? line : line.left(eq);
}

QString BoardRowModel::valueOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

int BoardRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int BoardRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant BoardRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const QString& line = m_lines.at(index.row());
    return index.column() == KeyColumn ? keyOf(line) : valueOf(line);
}

QVariant BoardRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The title row is there, but both its captions are a single blank.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && (section == 0 || section == 1))
        return QStringLiteral(" ");
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags BoardRowModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// --- TMessageBoardForm -----------------------------------------------------------------------

const QString TMessageBoardForm::kContinuationKey = QStringLiteral(" .. ");

TMessageBoardForm::TMessageBoardForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setModal(false);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::windowFont(font()));

    m_rows = new BoardRowModel(this);

    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("MessageList"));
    m_list->setModel(m_rows);
    m_list->setItemDelegate(new ColumnLineDelegate(m_list));
    m_list->setShowGrid(false);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->verticalHeader()->hide();
    // Fixed row heights keep appending cheap: the view never measures a row's contents.
    const int rowHeight = m_list->fontMetrics().height() + 2;
    m_list->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_list->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* titleRow = m_list->horizontalHeader();
    titleRow->setSectionsClickable(false);
    titleRow->setHighlightSections(false);
    titleRow->setStretchLastSection(false);
    titleRow->setSectionResizeMode(QHeaderView::Interactive);
    titleRow->resizeSection(BoardRowModel::KeyColumn, kKeyColumnWidth);
    titleRow->resizeSection(BoardRowModel::ValueColumn, kValueColumnWidth);
    titleRow->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; border: none; }")
                                .arg(kTitleRowBackground.name()));
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, kListBackground);
    m_list->setPalette(listPalette);

    m_busy = new BusyIndicator(this);
    m_busy->setObjectName(QStringLiteral("PBT"));
    m_busy->hide();

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kBottomStripHeight);
    m_save = new QPushButton(kSaveCaption, strip);
    m_save->setObjectName(QStringLiteral("dxButton2"));
    m_back = new QPushButton(kBackCaption, strip);
    m_back->setObjectName(QStringLiteral("dxButton1"));
    for (QPushButton* button : {m_save, m_back}) {
        button->setAutoDefault(false);
        button->setFixedHeight(kBottomStripHeight - 2);
    }
    m_count = new QLabel(strip);
    m_count->setObjectName(QStringLiteral("Label1"));
    m_count->setAlignment(Qt::AlignCenter);
    // A fixed size: a new count does not lay the window out again.
    m_count->setFixedSize(kCountLabelWidth, kBottomStripHeight);
    ui::fillBackground(m_count, kCountBackground);

    // Laid out right to left: save at the right end, back at the left end.
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(0);
    stripLayout->addWidget(m_save);
    stripLayout->addStretch(1);
    stripLayout->addWidget(m_count);
    stripLayout->addStretch(1);
    stripLayout->addWidget(m_back);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_busy);
    layout->addWidget(strip);

    connect(m_back, &QPushButton::clicked, this, &TMessageBoardForm::dxButton1Click);
    connect(m_save, &QPushButton::clicked, this, &TMessageBoardForm::dxButton2Click);

    // The board sees keys before its controls do.
    const QList<QWidget*> controls = findChildren<QWidget*>();
    for (QWidget* control : controls)
        control->installEventFilter(this);

    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TMessageBoardForm::~TMessageBoardForm() = default;

void TMessageBoardForm::StartRecording(bool rightToLeft, const QString& title)
{
    m_count->clear();
    m_list->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    setWindowTitle(title);
    m_rows->clear();
    m_back->setEnabled(false);
    m_save->setEnabled(false);
    if (!isVisible())
        show();
    m_busy->show();
    m_busy->tick();
    m_back->repaint();
    fitToScreenHeight();
}

void TMessageBoardForm::PostThisMessage(const QString& key, const QString& value)
{
    if (!isVisible())
        show();
    const QStringList pieces = splitValue(value);
    QStringList lines;
    lines.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i)
        lines.append((i == 0 ? key : kContinuationKey) + u'=' + pieces.at(i));
    m_rows->append(lines);
    m_busy->tick();
    showCount();
    processPendingEvents();
}

void TMessageBoardForm::StopRecording()
{
    showCount();
    m_back->setEnabled(true);
    m_save->setEnabled(true);
    m_busy->hide();
}

void TMessageBoardForm::ExecuteFile(const QString& path)
{
    platform::openDocument(path);
}

QStringList TMessageBoardForm::lines() const
{
    return m_rows->lines();
}

void TMessageBoardForm::startRecording(bool rightToLeft, const QString& title)
{
    StartRecording(rightToLeft, title);
}

void TMessageBoardForm::postThisMessage(const QString& key, const QString& value)
{
    PostThisMessage(key, value);
}

void TMessageBoardForm::stopRecording()
{
    StopRecording();
}

bool TMessageBoardForm::isShowing() const
{
    return isVisible();
}

void TMessageBoardForm::dxButton1Click()
{
    hide();
}

void TMessageBoardForm::dxButton2Click()
{
    const QStringList rows = m_rows->lines();
    if (rows.isEmpty()) {
        Dialogs::plain(kEmptyList);
        return;
    }

    // The proposed name: title, blank, first row without the "=" that joins its key and value,
    // and without the "/" of any date in it.
    QString firstRow = rows.first();
    firstRow.remove(firstRow.indexOf(u'='), 1);
    QString proposed = windowTitle() + u' ' + firstRow;
    proposed.remove(u'/');
    proposed = proposed.trimmed();

    const QString chosen = Dialogs::saveFileName(this, QString(), proposed, fileDialogFilter(kSaveFilter));
    if (chosen.isEmpty())
        return;
    // Appended whatever the name already ends with.
    const QString path = chosen + kSavedSuffix;

    QString error;
    if (!textfile::writeLines(path, rows, &error)) {
        const QString caption = QCoreApplication::applicationName();
        const QString text =
            QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), error);
        Dialogs::message(Dialogs::Kind::Error, caption, text,
                         [&] { QMessageBox::critical(this, caption, text); });
        return;
    }
    ExecuteFile(path);
}

bool TMessageBoardForm::handleKey(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool escape = key->key() == Qt::Key_Escape;
    if (event->type() == QEvent::KeyPress) {
        if (enter) {
            dxButton1Click();
            return true;
        }
        // Esc acts on its release; its press must not reach the dialog's own reject.
        return escape;
    }
    if (escape && !key->isAutoRepeat()) {
        dxButton1Click();
        return true;
    }
    return false;
}

bool TMessageBoardForm::eventFilter(QObject* watched, QEvent* event)
{
    if (handleKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TMessageBoardForm::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}

void TMessageBoardForm::keyReleaseEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyReleaseEvent(event);
}

void TMessageBoardForm::processPendingEvents()
{
    // Keys and clicks are served after every row, so Enter and Esc work during a long run. Painting
    // the board takes milliseconds and a row microseconds, so within a fast burst the paint is held
    // back until kPaintIntervalMs have passed since the last one; the rows, the count and the busy
    // strip are up to date all the same, and the next paint shows them.
    if (!m_sincePaint.isValid() || m_sincePaint.hasExpired(kPaintIntervalMs)) {
        m_sincePaint.start();
        QCoreApplication::processEvents();
        return;
    }
    m_holdPaintAtLevel = QThread::currentThread()->loopLevel();
    QCoreApplication::processEvents();
    m_holdPaintAtLevel = -1;
    if (m_paintHeld) {
        m_paintHeld = false;
        // The window waits for the request it sent before it sends another one: send it again,
        // for the next row or the event loop to deliver.
        QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    }
}

bool TMessageBoardForm::event(QEvent* event)
{
    // Held back only in the board's own pass over the events, not in a loop nested inside it (a
    // modal box the user opened meanwhile), where the board must paint.
    if (event->type() == QEvent::UpdateRequest && m_holdPaintAtLevel >= 0 &&
        QThread::currentThread()->loopLevel() == m_holdPaintAtLevel) {
        m_paintHeld = true;
        return true;
    }
    return QDialog::event(event);
}

void TMessageBoardForm::showCount()
{
    m_count->setText(kCountPrefix + QString::number(m_rows->rowCount()));
}

void TMessageBoardForm::fitToScreenHeight()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int frameExtra = frameGeometry().height() - height();
    setFixedSize(width(), qMax(0, available.height() - kScreenMargin - frameExtra));
    move(x(), available.top());
}
