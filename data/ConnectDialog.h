#pragma once

#include "data/ConnectionSettings.h"

#include <QDialog>

class QLineEdit;

// Asks for the register server's login: user name, password, server and database.
class ConnectDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectDialog(QWidget* parent = nullptr);
    void setValues(const ConnectionValues& values);
    ConnectionValues values() const;

private:
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_server = nullptr;
    QLineEdit* m_database = nullptr;
};
