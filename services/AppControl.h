#pragma once

#include <functional>

// Ending the program. A request takes effect when the event loop next runs, so the current
// handler returns first; a halt stops at once.
namespace appcontrol {

void requestEnd();
bool endRequested();
// Forgets an earlier request (a fresh start in tests).
void reset();
// Whether a request also ends the event loop (tests keep their loop and only read the flag).
void setQuitOnRequest(bool on);

// Stops the program on the spot, without a message. Tests install a handler instead (it must
// not return normally, e.g. it throws).
[[noreturn]] void haltNow();
void setHaltHandler(std::function<void()> handler);

} // namespace appcontrol
