#include "platform/Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {
QString& layout()
{
    static QString id;
    return id;
}
QStringList& opened()
{
    static QStringList list;
    return list;
}
// Tests set VETRILO_SHELL_DRY_RUN so that documents are recorded, not handed to a desktop viewer.
bool dryRun() { return qEnvironmentVariableIsSet("VETRILO_SHELL_DRY_RUN"); }
} // namespace

void activateKeyboardLayout(const QString& layoutId) { layout() = layoutId; }

QString lastKeyboardLayout() { return layout(); }

void openDocument(const QString& path)
{
    opened().append(path);
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable() && !path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        QProcess::startDetached(path, {}, info.absolutePath());
        return;
    }
    if (!dryRun())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void startProgram(const QString& program, const QString& arguments)
{
    opened().append(program);
    QProcess::startDetached(program, QProcess::splitCommand(arguments), QFileInfo(program).absolutePath());
}

QStringList openedPaths() { return opened(); }

void clearOpenedPaths() { opened().clear(); }

void beep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

QString defaultTraceFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Q8M");
}

} // namespace platform
