#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

struct FarmOptions
{
    int cows = 60;
    bool installTool = true;      // the tool's tables, view and procedure already in the farm
    bool demoProtocols = true;    // the sample protocols and a few dozen enrolments (needs installTool)
    bool setupScript = false;     // a ProSetup.Cmd in the program folder (first-run installation)
    bool prepFolder = true;       // the PRep filter folder
};

// A program folder in a temporary directory, as the demo stages it: a scrambled WTimes.DLL naming
// an SQLite farm file beside it, with a generated herd. It becomes paths::programFolder().
class FarmFolder
{
public:
    explicit FarmFolder(const FarmOptions& options = {});
    ~FarmFolder();

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString path() const;          // ends in '/'
    QString farmFile() const;
    QString filePath(const QString& name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
    QString m_error;
};

} // namespace testsupport
