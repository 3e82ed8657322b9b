#include "data/Installer.h"

#include "services/TextFile.h"
#include "services/ToolsUnit.h"

#include <QFile>

namespace installer {

QString executerListLine() { return QStringLiteral("كنترل دام در پروتكل=Vetrilo.exe"); }

void addToExecuterList(const QString& folder)
{
    const QString marker = folder + QStringLiteral("P_Install");
    const QString list = folder + QStringLiteral("Executer.List");
    if (QFile::exists(marker) || !QFile::exists(list))
        return;
    QStringList lines;
    if (!textfile::readLines(list, &lines))
        return;
    // The suite keeps its own entries in the first four lines.
    if (lines.size() >= 4)
        lines.insert(4, executerListLine());
    else
        lines.append(executerListLine());
    if (!textfile::writeLines(list, lines))
        return;
    QFile markerFile(marker);
    markerFile.open(QIODevice::WriteOnly);
}

bool runFirstRunInstallation(TTools& tools, const QString& folder)
{
    const QString script = folder + QStringLiteral("ProSetup.Cmd");
    if (!QFile::exists(script) || tools.IsTableExist(QStringLiteral("P_ProtocolDesign")))
        return false;
    tools.DoScriptFromfile(QStringLiteral("نصب نرم افزار پروتكل"), script);
    QFile::remove(script);
    addToExecuterList(folder);
    return true;
}

} // namespace installer
