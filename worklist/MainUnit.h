#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableView;
class SideBar;
class UserTabBar;
class WorkListGridModel;
class WorkListModel;

// The main window: the work list with its protocol, level and saved-filter tab strips, the body
// search, the details view, the saved filters with the outside editor, the report hand-off and the
// side bar that starts every other function. Created first, shown once, lives for the whole run.
//
// Controls (objectName): PrNamesTab (protocols, top), LevelTab (levels, left edge), ProgTab
// (saved filters, bottom), CRDBGrid1 (the list), the side bar panel with StaticText1,
// dxWinXPBar1, dxCheckbox2 (group mode), Label1/Edit1 (body search), dxCheckbox1 (show details
// at once) and dxButton2 (exit).
//
// The tab strips run their change handlers only for the user's choices; selecting a tab from
// code (selectTab, the handlers themselves) never runs them.
class TMainForm final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm)

public:
    // Side-bar items of dxWinXPBar1.
    enum Item
    {
        DefineProtocol = 0,
        EnterCow = 1,
        NextLevel = 2,
        ExitProtocol = 3,
        Report = 5,
        SuggestedList = 7
    };

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    static TMainForm* instance();

    QTabBar* PrNamesTab() const;
    QTabBar* LevelTab() const;
    QTabBar* ProgTab() const;
    QTableView* CRDBGrid1() const { return m_grid; }
    SideBar* dxWinXPBar1() const { return m_sideBar; }
    QCheckBox* dxCheckbox1() const { return m_showDetails; }
    QCheckBox* dxCheckbox2() const { return m_groupMode; }
    QLineEdit* Edit1() const { return m_bodyEdit; }

    // The program's folder as recorded at creation and at the show step (ends in '/').
    QString programFolder() const { return m_folder; }

    // Selects a tab without running the strip's change handler.
    static void selectTab(QTabBar* bar, int index);
    // The work list's current row (the grid's), 0 when the grid has none yet, -1 without rows.
    int currentRow() const;
    void setCurrentRow(int row);

    // The side-bar items whose work lives in other units (the cow entry, advance, exit and the
    // suggested list) and the group-mode box run what the program installs for them.
    void setItemAction(int item, std::function<void()> action);
    void setGroupModeAction(std::function<void()> action);

    // Handlers.
    void FormCreate();
    void FormShow();
    void RefreshIt();
    void FilterIt();
    void PrNamesTabChange();
    void Edit1KeyPress(int key);
    void CRDBGrid1DblClick();
    // True when the key was one of the window's own.
    bool FormKeyDown(int key);
    void dxButton2Click();
    void ProgTabChange();
    void ProgTabMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void dxWinXPBar1Items0Click();
    void dxWinXPBar1Items1Click();
    void dxWinXPBar1Items2Click();
    void dxWinXPBar1Items3Click();
    void dxWinXPBar1Items5Click();
    void dxWinXPBar1Items7Click();
    void dxCheckbox2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QWidget* buildSidePanel();
    void bindGrid();
    void setBodyBoxColour(const QColor& colour);
    // Applies a filter text to the work list; an empty text switches the filter off. A text the
    // engine refuses is reported and leaves the list unfiltered.
    void applyWorkListFilter(const QString& text);
    void startEditor(const QString& filePath);
    void runItemAction(int item);
    WorkListModel* workList() const;

    UserTabBar* m_protocols = nullptr;
    UserTabBar* m_levels = nullptr;
    UserTabBar* m_filters = nullptr;
    QTableView* m_grid = nullptr;
    WorkListGridModel* m_gridModel = nullptr;
    SideBar* m_sideBar = nullptr;
    QLabel* m_about = nullptr;
    QCheckBox* m_groupMode = nullptr;
    QCheckBox* m_showDetails = nullptr;
    QLineEdit* m_bodyEdit = nullptr;
    QPushButton* m_exit = nullptr;
    QString m_folder;
    bool m_shown = false;
    QHash<int, std::function<void()>> m_itemActions;
    std::function<void()> m_groupModeAction;
};
