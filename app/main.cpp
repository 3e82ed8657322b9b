#include "app/Program.h"
#include "services/AppControl.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    Program program;
    // A start-up failure has asked for the end: the loop below returns at once.
    if (!appcontrol::endRequested())
        program.showMainWindow();
    // Unattended runs (the staging test) end on their own after the given milliseconds.
    if (const int ms = qEnvironmentVariableIntValue("VETRILO_EXIT_AFTER_MS"); ms > 0)
        QTimer::singleShot(ms, &app, [] { QApplication::exit(0); });
    return QApplication::exec();
}
