#pragma once

#include <QString>
#include <QStringList>

// The operating-system services the tool uses, behind one small interface. The Windows build
// has its own file; elsewhere the portable fallback stands in.
namespace platform {

// Loads and activates the keyboard layout with a Windows identifier ("00000409" US English,
// "00000429" Persian). Where there is no such switch the request is only recorded.
void activateKeyboardLayout(const QString& layoutId);
QString lastKeyboardLayout();

// The shell's "open" action on a document or program, no arguments. The result is not checked.
void openDocument(const QString& path);
// Starts a program with an argument text (quoted parts as a command line would have them).
void startProgram(const QString& program, const QString& arguments);
// Every path given to openDocument/startProgram in this run, for diagnostics and tests.
QStringList openedPaths();
void clearOpenedPaths();

void beep();

// "C:\Q8M" on Windows; a folder under the user's data location elsewhere.
QString defaultTraceFolder();

} // namespace platform
