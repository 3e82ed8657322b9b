#include "data/ConnectionFinder.h"

#include "data/ConnectDialog.h"
#include "data/Engine.h"
#include "data/MultiUserUnit.h"
#include "platform/Platform.h"
#include "services/AppControl.h"
#include "services/Paths.h"
#include "services/SqlText.h"
#include "services/TextFile.h"
#include "services/ToolsUnit.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kUsLayout = QStringLiteral("00000409");
const QString kPersianLayout = QStringLiteral("00000429");

ConnectionValues fromSettingsFile()
{
    const QString file = paths::programFolder() + QStringLiteral("WTimes.DLL");
    if (!QFile::exists(file))
        appcontrol::haltNow();
    ConnectionValues values;
    QString error;
    if (!connsettings::readScrambledFile(file, &values, &error)) {
        // Never connect with missing values: say why, and end.
        if (TTools* tools = TTools::instance())
            tools->ShowExceptMsg(QStringLiteral("خطا در اتصال به ديتابيس"), error);
        appcontrol::requestEnd();
        return {};
    }
    return values;
}

// Steps 6 to 9: connect to the register server, asking for the login when no settings exist.
std::unique_ptr<Engine> connectRegister(ConnectionValues* used)
{
    platform::activateKeyboardLayout(kUsLayout);
    const QString settingsFile = paths::programFolder() + QStringLiteral("MultiConnect.Dat");
    QStringList lines;
    bool prompt = true;
    if (QFile::exists(settingsFile) && textfile::readLines(settingsFile, &lines) && lines.size() >= 4) {
        *used = {lines.at(2), lines.at(3), lines.at(0), lines.at(1)};
        prompt = false;
    }
    if (prompt) {
        ConnectDialog dialog;
        ConnectionValues start;
        start.database = QStringLiteral("master");
        dialog.setValues(start);
        if (dialog.exec() != QDialog::Accepted)
            return nullptr;
        *used = dialog.values();
    }
    auto engine = Engine::forServer(used->server);
    QString error;
    if (!engine->open(QString::fromLatin1(kMulticonnection), *used, &error))
        return nullptr;
    lines << used->server << used->database << used->userName << used->password;
    if (!textfile::writeLines(settingsFile, lines))
        return nullptr;
    platform::activateKeyboardLayout(kPersianLayout);
    return engine;
}

ConnectionValues fromRegister()
{
    const auto fail = [] {
        appcontrol::requestEnd();
        return ConnectionValues{};
    };
    ConnectionValues registerValues;
    auto engine = connectRegister(&registerValues);
    if (!engine)
        return fail();
    const QString name = QString::fromLatin1(kMulticonnection);
    if (!engine->hasDatabase(QSqlDatabase::database(name, false), QStringLiteral("Masters")))
        return fail();

    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
    registerValues.database = QStringLiteral("Masters");
    QString error;
    if (!engine->open(name, registerValues, &error))
        return fail();
    QSqlDatabase db = QSqlDatabase::database(name, false);

    QStringList names;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT * FROM Masters Order By DName")))
            return fail();
        while (query.next())
            names.append(query.value(QStringLiteral("DName")).toString());
    }
    if (names.isEmpty())
        return fail();

    TMultiUserForm* chooser = TMultiUserForm::instance();
    chooser->setNames(names);
    if (chooser->exec() != QDialog::Accepted)
        return fail();

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT * FROM Masters Where DName=") + sqltext::quoted(chooser->selectedName())) ||
        !query.next())
        return fail();
    ConnectionValues values;
    values.password = query.value(QStringLiteral("SPass")).toString();
    values.server = query.value(QStringLiteral("SName")).toString();
    values.database = query.value(QStringLiteral("EngDName")).toString();
    values.userName = QStringLiteral("sa");
    return values;
}

} // namespace

ConnectionValues FindConStr()
{
    if (QFile::exists(paths::programFolder() + QStringLiteral("Multiusers.Dat")))
        return fromRegister();
    return fromSettingsFile();
}
