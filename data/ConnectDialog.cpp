#include "data/ConnectDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

ConnectDialog::ConnectDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MSConnectDialog2"));
    setWindowTitle(QStringLiteral("اتصال به بانك اصلي"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    auto field = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setLayoutDirection(Qt::LeftToRight);
        form->addRow(label, edit);
        return edit;
    };
    m_user = field("UserName", QStringLiteral("نام كاربر"));
    m_password = field("Password", QStringLiteral("رمز عبور"));
    m_password->setEchoMode(QLineEdit::Password);
    m_server = field("Server", QStringLiteral("سرور"));
    m_database = field("Database", QStringLiteral("Database"));
    m_database->setText(QStringLiteral("master"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* connectButton = buttons->addButton(QStringLiteral("اتصال"), QDialogButtonBox::AcceptRole);
    connectButton->setObjectName(QStringLiteral("ConnectButton"));
    connectButton->setDefault(true);
    buttons->addButton(QStringLiteral("انصراف"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelButton"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ConnectDialog::setValues(const ConnectionValues& v)
{
    m_user->setText(v.userName);
    m_password->setText(v.password);
    m_server->setText(v.server);
    m_database->setText(v.database);
}

ConnectionValues ConnectDialog::values() const
{
    return {m_user->text(), m_password->text(), m_server->text(), m_database->text()};
}
