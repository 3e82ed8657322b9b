#include "protocols/ProDefineAEUnit.h"

#include "services/SqlText.h"
#include "services/WindowLook.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QVBoxLayout>

namespace {

TProDefineAEForm* g_instance = nullptr;

const QString kNameLabel = QStringLiteral("نام پروتكل");
const QString kLevelLabel = QStringLiteral("مرحله");
const QString kDaysLabel = QStringLiteral("روز پس از شروع  درمان");
const QString kActionLabel = QStringLiteral("عمل");
const QString kOkCaption = QStringLiteral("قبول");
const QString kCancelCaption = QStringLiteral("انصراف");

const QString kProName = QStringLiteral("ProName");
const QString kPLevel = QStringLiteral("PLevel");
const QString kPDays = QStringLiteral("PDays");
const QString kPAct = QStringLiteral("PAct");

constexpr int kNameWidth = 200;
constexpr int kNumberWidth = 64;
constexpr int kActionWidth = 320;

// A level or day count as the table takes it: a whole number, blanks around it allowed.
bool isNumberText(const QString& text) { return sqltext::isWholeNumber(text.trimmed()); }

QString fieldText(const QSqlTableModel* model, int row, const QString& field)
{
    const QVariant value = model->data(model->index(row, model->fieldIndex(field)));
    return value.isNull() ? QString() : value.toString();
}

void setField(QSqlTableModel* model, int row, const QString& field, const QVariant& value)
{
    model->setData(model->index(row, model->fieldIndex(field)), value);
}

} // namespace

TProDefineAEForm::TProDefineAEForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    g_instance = this;
    setObjectName(QStringLiteral("ProDefineAEForm"));
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::windowFont(font()));

    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("DBComboBox1"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert); // the list stays empty
    m_name->setFixedWidth(kNameWidth);

    m_level = new QLineEdit(this);
    m_level->setObjectName(QStringLiteral("DBEdit1"));
    m_level->setFixedWidth(kNumberWidth);
    m_days = new QLineEdit(this);
    m_days->setObjectName(QStringLiteral("DBEdit3"));
    m_days->setFixedWidth(kNumberWidth);
    m_action = new QLineEdit(this);
    m_action->setObjectName(QStringLiteral("DBEdit2"));
    m_action->setFixedWidth(kActionWidth);

    m_ok = new QPushButton(kOkCaption, this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_cancel = new QPushButton(kCancelCaption, this);
    m_cancel->setObjectName(QStringLiteral("Button2"));

    auto* fields = new QGridLayout;
    const QList<QPair<QString, QWidget*>> rows{
        {kNameLabel, m_name}, {kLevelLabel, m_level}, {kDaysLabel, m_days}, {kActionLabel, m_action}};
    for (int i = 0; i < rows.size(); ++i) {
        auto* label = new QLabel(rows.at(i).first, this);
        label->setBuddy(rows.at(i).second);
        fields->addWidget(label, i, 0);
        fields->addWidget(rows.at(i).second, i, 1, Qt::AlignLeading);
    }
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_name, m_level);
    setTabOrder(m_level, m_days);
    setTabOrder(m_days, m_action);
    setTabOrder(m_action, m_ok);
    setTabOrder(m_ok, m_cancel);

    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_name->lineEdit()),
                           static_cast<QWidget*>(m_level), static_cast<QWidget*>(m_days),
                           static_cast<QWidget*>(m_action)})
        field->installEventFilter(this);

    connect(m_ok, &QPushButton::clicked, this, &TProDefineAEForm::Button1Click);
    connect(m_cancel, &QPushButton::clicked, this, &TProDefineAEForm::Button2Click);
}

TProDefineAEForm::~TProDefineAEForm()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TProDefineAEForm* TProDefineAEForm::instance() { return g_instance; }

int TProDefineAEForm::execOnRow(QSqlTableModel* model, int row)
{
    m_name->setEditText(fieldText(model, row, kProName));
    m_level->setText(fieldText(model, row, kPLevel));
    m_days->setText(fieldText(model, row, kPDays));
    m_action->setText(fieldText(model, row, kPAct));

    const int result = exec();
    if (result != Accepted)
        return result;
    // Button1Click let only whole numbers through to the two number columns.
    setField(model, row, kProName, m_name->currentText());
    setField(model, row, kPLevel, m_level->text().trimmed().toInt());
    setField(model, row, kPDays, m_days->text().trimmed().toInt());
    setField(model, row, kPAct, m_action->text());
    return result;
}

void TProDefineAEForm::FormShow()
{
    m_name->setFocus(Qt::OtherFocusReason);
    m_name->lineEdit()->selectAll();
}

void TProDefineAEForm::Button1Click()
{
    const QList<QPair<QWidget*, QString>> fields{{m_name, m_name->currentText()},
                                                 {m_level, m_level->text()},
                                                 {m_days, m_days->text()},
                                                 {m_action, m_action->text()}};
    // Blanks count as text here; only a field with nothing in it is sent back.
    for (const auto& [widget, text] : fields) {
        if (text.isEmpty()) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // The number columns would take any text (SQLite stores 'abc' in an INTEGER column), and
    // the next-level lookups add 1 to the level: nothing but a whole number may go there.
    for (QLineEdit* edit : {m_level, m_days}) {
        if (!isNumberText(edit->text())) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return;
        }
    }
    accept();
}

void TProDefineAEForm::Button2Click() { reject(); }

bool TProDefineAEForm::DBComboBox1KeyPress(QKeyEvent* event) { return fieldKeyPress(event); }
bool TProDefineAEForm::DBEdit1KeyPress(QKeyEvent* event) { return fieldKeyPress(event); }
bool TProDefineAEForm::DBEdit3KeyPress(QKeyEvent* event) { return fieldKeyPress(event); }
bool TProDefineAEForm::DBEdit2KeyPress(QKeyEvent* event) { return fieldKeyPress(event); }

bool TProDefineAEForm::fieldKeyPress(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild();
        return true;
    case Qt::Key_Escape:
        Button2Click();
        return true;
    default:
        return false;
    }
}

void TProDefineAEForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TProDefineAEForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_name || watched == m_name->lineEdit())
        return DBComboBox1KeyPress(key);
    if (watched == m_level)
        return DBEdit1KeyPress(key);
    if (watched == m_days)
        return DBEdit3KeyPress(key);
    if (watched == m_action)
        return DBEdit2KeyPress(key);
    return QDialog::eventFilter(watched, event);
}
