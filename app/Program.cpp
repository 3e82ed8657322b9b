#include "app/Program.h"

#include "calendar/DatePickerUnit.h"
#include "cowops/NextLevelUnit.h"
#include "cowops/OutUnit.h"
#include "cowops/Sel1CowUnit.h"
#include "data/DataUnit.h"
#include "data/MultiUserUnit.h"
#include "group/MessageBoardUnit.h"
#include "group/OutGroupUnit.h"
#include "group/SugestionUnit.h"
#include "protocols/ProDefineAEUnit.h"
#include "protocols/ProDefineUnit.h"
#include "services/ToolsUnit.h"
#include "worklist/MainUnit.h"

Program::Program()
{
    // The order is fixed: the chooser and the services must exist before the data module,
    // whose creation connects and opens the shared data sets.
    m_main = std::make_unique<TMainForm>();
    m_datePicker = std::make_unique<TDatePickerForm>();
    m_board = std::make_unique<TMessageBoardForm>();
    m_multiUser = std::make_unique<TMultiUserForm>();
    m_tools = std::make_unique<TTools>();
    m_tools->setBoard(m_board.get());
    m_tools->FormCreate();
    m_dm = std::make_unique<TDm>();
    m_nextLevel = std::make_unique<TNextLevlForm>();
    m_out = std::make_unique<TOutform>();
    m_outGroup = std::make_unique<TOutGroupForm>();
    m_sugestion = std::make_unique<TSugestionForm>();
    m_proDefine = std::make_unique<TProDefineForm>();
    m_proDefineAE = std::make_unique<TProDefineAEForm>();
    m_sel1Cow = std::make_unique<TSel1CowForm>();
}

Program::~Program()
{
    // Windows first, then the data module and the services they use.
    m_sel1Cow.reset();
    m_proDefineAE.reset();
    m_proDefine.reset();
    m_sugestion.reset();
    m_outGroup.reset();
    m_out.reset();
    m_nextLevel.reset();
    m_main.reset();
    m_dm.reset();
    m_tools.reset();
    m_multiUser.reset();
    m_board.reset();
    m_datePicker.reset();
}

void Program::showMainWindow() { m_main->showMaximized(); }
