#pragma once

#include <QString>

class TTools;

// First-run installation: runs "ProSetup.Cmd" when it lies in the program folder and the tool's
// table is missing, deletes it, and adds the tool once to the suite's "Executer.List".
namespace installer {

// The line the tool adds to the suite's program list.
QString executerListLine();

// The installation step; returns whether the script ran.
bool runFirstRunInstallation(TTools& tools, const QString& programFolder);

// Inserts the tool's line so that it becomes line 5; a shorter list gets it appended.
void addToExecuterList(const QString& programFolder);

} // namespace installer
