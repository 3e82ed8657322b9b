#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// The customer chooser: the register's display names in three columns; "ورود" or a double
// click confirms the selected one. There is no cancel button.
class TMultiUserForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TMultiUserForm(QWidget* parent = nullptr);
    static TMultiUserForm* instance();

    QListWidget* RadioGroup1() const { return m_list; }
    void setNames(const QStringList& names);
    QString selectedName() const;

    void dxButton1Click();
    void RadioGroup1DblClick();

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_enter = nullptr;
};
