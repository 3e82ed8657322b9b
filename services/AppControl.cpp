#include "services/AppControl.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>

namespace appcontrol {

namespace {
bool g_requested = false;
bool g_quit = true;
std::function<void()>& haltHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void requestEnd()
{
    if (g_requested)
        return;
    g_requested = true;
    if (auto* app = QCoreApplication::instance(); app && g_quit)
        QMetaObject::invokeMethod(app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool endRequested() { return g_requested; }

void reset() { g_requested = false; }

void setQuitOnRequest(bool on) { g_quit = on; }

void haltNow()
{
    if (haltHandler())
        haltHandler()();
    std::exit(1);
}

void setHaltHandler(std::function<void()> handler) { haltHandler() = std::move(handler); }

} // namespace appcontrol
