#pragma once

#include <QDialog>

class QTabBar;
class QTableView;
class SideBar;
class QLabel;
class QPushButton;
class QKeyEvent;
class QShowEvent;

// Protocol definition: the protocols as tabs and the levels of the chosen one in a grid.
// Created once at start; each opening starts from a copy of the main window's protocol tabs.
class TProDefineForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TProDefineForm(QWidget* parent = nullptr);
    ~TProDefineForm() override;
    static TProDefineForm* instance();

    // Copies the main window's protocol tabs in, shows the window modally, and on "back" copies
    // this window's tabs back into mainTabs. Returns when the window has closed.
    void showFor(QTabBar* mainTabs);

    // Handlers.
    void FormShow();
    void PrNamesTabChange();
    void dxWinXPBar1Items0Click(); // new protocol
    void dxWinXPBar1Items1Click(); // new levels
    void dxWinXPBar1Items2Click(); // edit level
    void dxButton2Click();         // back

    // The grid's confirmation question before Ctrl+Delete removes a level.
    static QString deleteQuestion();

private:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Ctrl+Delete in the grid.
    void CRDBGrid1KeyDown(QKeyEvent* event);
    // The row of MP_ProtocolDesign the grid points at; -1 when there is none.
    int currentRow() const;
    void selectRow(int row);
    // Stores the model's pending row; a refused store is reported and discarded.
    bool storeOrDiscard();

    struct Private;
    Private* d = nullptr;
};
