#include "app/Program.h"
#include "services/AppControl.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    Program program;
    // A start-up failure has asked for the end: the loop below returns at once.
    if (!appcontrol::endRequested())
        program.showMainWindow();
    return QApplication::exec();
}
