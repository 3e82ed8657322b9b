#include "data/MultiUserUnit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
TMultiUserForm* g_instance = nullptr;
}

TMultiUserForm::TMultiUserForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    g_instance = this;
    setObjectName(QStringLiteral("MultiUserForm"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    auto* side = new QVBoxLayout;
    m_enter = new QPushButton(QStringLiteral("ورود"), this);
    m_enter->setObjectName(QStringLiteral("dxButton1"));
    m_enter->setDefault(true);
    side->addWidget(m_enter);
    side->addStretch(1);

    auto* main = new QVBoxLayout;
    auto* caption = new QLabel(QStringLiteral("انتخاب مشتري جهت ورود ...."), this);
    caption->setObjectName(QStringLiteral("Caption"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("RadioGroup1"));
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true); // names run down and over into further columns
    m_list->setResizeMode(QListView::Adjust);
    main->addWidget(caption);
    main->addWidget(m_list, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addLayout(main, 1);
    setFixedSize(520, 320);

    connect(m_enter, &QPushButton::clicked, this, &TMultiUserForm::dxButton1Click);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TMultiUserForm::RadioGroup1DblClick);
}

TMultiUserForm* TMultiUserForm::instance() { return g_instance; }

void TMultiUserForm::setNames(const QStringList& names)
{
    m_list->clear();
    m_list->addItems(names);
    // Three columns: the grid width is a third of the list's.
    m_list->setGridSize(QSize((m_list->viewport()->width() - 4) / 3, m_list->fontMetrics().height() + 6));
}

QString TMultiUserForm::selectedName() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TMultiUserForm::dxButton1Click()
{
    if (m_list->currentRow() >= 0 && m_list->currentItem()->isSelected())
        accept();
}

void TMultiUserForm::RadioGroup1DblClick() { dxButton1Click(); }
