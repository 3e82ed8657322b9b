#include "tests/TestSupport.h"

#include "platform/Platform.h"
#include "services/AppControl.h"
#include "services/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace testsupport {

void initGuiTest()
{
    Dialogs::setScripted(true);
    appcontrol::setQuitOnRequest(false);
    qputenv("VETRILO_SHELL_DRY_RUN", "1");
    QDir().mkpath(qEnvironmentVariable("VETRILO_TRACE_DIR"));
}

void resetSession()
{

    Dialogs::clearQueue();
    Dialogs::clearShown();
    appcontrol::reset();
    platform::clearOpenedPaths();
}

bool closeLeftoverModals()
{
    bool any = false;
    while (QWidget* w = QApplication::activeModalWidget()) {
        any = true;
        w->close();
        QApplication::processEvents();
        if (QApplication::activeModalWidget() == w)
            break;
    }
    return any;
}

} // namespace testsupport
