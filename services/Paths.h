#pragma once

#include <QString>

// Where the tool finds its files.
namespace paths {

// The executable's folder, ending in '/'. Tests point it at a temporary program folder.
QString programFolder();
void setProgramFolder(const QString& folder);

// The fixed folder for trace and temporary files ("C:\Q8M" on Windows). VETRILO_TRACE_DIR
// overrides it.
QString traceFolder();
QString traceFile(const QString& name);

} // namespace paths
