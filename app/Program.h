#pragma once

#include <memory>

class TDatePickerForm;
class TDm;
class TMainForm;
class TMessageBoardForm;
class TMultiUserForm;
class TNextLevlForm;
class TOutform;
class TOutGroupForm;
class TProDefineAEForm;
class TProDefineForm;
class TSel1CowForm;
class TSugestionForm;
class TTools;

// The program's windows and modules, created once in their fixed order; the data module's
// creation connects and opens the data sets. Tests create a Program on their own program folder.
class Program final
{
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window maximised; its show step runs.
    void showMainWindow();

    TMainForm* mainForm() const { return m_main.get(); }
    TDatePickerForm* datePicker() const { return m_datePicker.get(); }
    TMessageBoardForm* board() const { return m_board.get(); }
    TMultiUserForm* multiUser() const { return m_multiUser.get(); }
    TTools* tools() const { return m_tools.get(); }
    TDm* dm() const { return m_dm.get(); }
    TNextLevlForm* nextLevel() const { return m_nextLevel.get(); }
    TOutform* out() const { return m_out.get(); }
    TOutGroupForm* outGroup() const { return m_outGroup.get(); }
    TSugestionForm* sugestion() const { return m_sugestion.get(); }
    TProDefineForm* proDefine() const { return m_proDefine.get(); }
    TProDefineAEForm* proDefineAE() const { return m_proDefineAE.get(); }
    TSel1CowForm* sel1Cow() const { return m_sel1Cow.get(); }

private:
    std::unique_ptr<TMainForm> m_main;
    std::unique_ptr<TDatePickerForm> m_datePicker;
    std::unique_ptr<TMessageBoardForm> m_board;
    std::unique_ptr<TMultiUserForm> m_multiUser;
    std::unique_ptr<TTools> m_tools;
    std::unique_ptr<TDm> m_dm;
    std::unique_ptr<TNextLevlForm> m_nextLevel;
    std::unique_ptr<TOutform> m_out;
    std::unique_ptr<TOutGroupForm> m_outGroup;
    std::unique_ptr<TSugestionForm> m_sugestion;
    std::unique_ptr<TProDefineForm> m_proDefine;
    std::unique_ptr<TProDefineAEForm> m_proDefineAE;
    std::unique_ptr<TSel1CowForm> m_sel1Cow;
};
