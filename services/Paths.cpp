#include "services/Paths.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/Platform.h"

namespace paths {

namespace {
QString& overriddenProgramFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overriddenProgramFolder().isEmpty())
        return overriddenProgramFolder();
    return withSlash(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString& folder)
{
    overriddenProgramFolder() = folder.isEmpty() ? QString() : withSlash(QDir::cleanPath(folder));
}

QString traceFolder()
{
    const QString env = qEnvironmentVariable("VETRILO_TRACE_DIR");
    if (!env.isEmpty())
        return withSlash(env);
    return withSlash(platform::defaultTraceFolder());
}

QString traceFile(const QString& name) { return traceFolder() + name; }

} // namespace paths
