#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlTableModel;

// The level dialog: protocol name, level, day and action of one row of P_ProtocolDesign.
// Created once at start and reused. The caller binds it to a row of the model; the row's values
// are shown when the dialog opens and written back into the row (not stored) on OK.
class TProDefineAEForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TProDefineAEForm)

public:
    explicit TProDefineAEForm(QWidget* parent = nullptr);
    ~TProDefineAEForm() override;
    static TProDefineAEForm* instance();

    // Shows the dialog modally on the given row of model. On OK the four fields are written into
    // that row; the caller stores or discards it. Returns the dialog's result.
    int execOnRow(QSqlTableModel* model, int row);

    // Handlers.
    void FormShow();
    void Button1Click(); // OK
    void Button2Click(); // cancel
    bool DBComboBox1KeyPress(QKeyEvent* event);
    bool DBEdit1KeyPress(QKeyEvent* event);
    bool DBEdit3KeyPress(QKeyEvent* event);
    bool DBEdit2KeyPress(QKeyEvent* event);

    QComboBox* nameBox() const { return m_name; }
    QLineEdit* levelEdit() const { return m_level; }
    QLineEdit* daysEdit() const { return m_days; }
    QLineEdit* actionEdit() const { return m_action; }

private:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter moves on in tab order, Esc cancels; true when the key was used.
    bool fieldKeyPress(QKeyEvent* event);

    QComboBox* m_name = nullptr;     // DBComboBox1
    QLineEdit* m_level = nullptr;    // DBEdit1
    QLineEdit* m_days = nullptr;     // DBEdit3
    QLineEdit* m_action = nullptr;   // DBEdit2
    QPushButton* m_ok = nullptr;     // Button1
    QPushButton* m_cancel = nullptr; // Button2
};
