#pragma once

#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QStringList>

class LogBoard;
class QLabel;
class QWidget;

// The services every window shares: message, question, input and wait boxes, the SQL helpers
// with their trace files, solar dates and today's date, and starting outside programs.
// Created once by the program entry, before the data module.
class TTools final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTools)

public:
    explicit TTools(QObject* parent = nullptr);
    ~TTools() override;

    static TTools* instance();

    // Program-wide values set once at start.
    void FormCreate();

    // The connection all SQL helpers run on (the data module's, once it is connected).
    void setServerConnection(const QString& connectionName);
    QSqlDatabase ServerConnection() const;

    // The board that failed statements are posted to while it is showing.
    void setBoard(LogBoard* board);
    LogBoard* board() const;

    // Boxes.
    void ShowMsg(const QString& message);
    void ShowExceptMsg(const QString& message, const QString& systemMessage);
    int AskYesNo(const QString& question);
    void ShowBoxMessage(const QString& text = QString());
    void ShowBoxClose();
    QWidget* waitBox() const;
    QString waitBoxText() const;
    bool InQuery(const QString& prompt, QString& value);
    static bool IsBlank(const QString& text);
    void SwitchToFarsi();
    static QString exceptMessageText(const QString& message, const QString& systemMessage);

    // SQL helpers.
    int ExecSql(const QString& statement);
    bool DoSqlAndReturnParameters(const QString& statement);
    int DoSqlForCreateList(const QString& statement, QStringList& list);
    bool IsTableExist(const QString& tableName);
    QStringList& ReturnParams() { return m_returnParams; }

    // Runs a setup script batch by batch, logging each on the board.
    bool DoScriptFromfile(const QString& caption, const QString& fileName);

    // Outside programs and documents.
    void ExecuteFile(const QString& path);
    void ExecuteFilePara(const QString& path, const QString& parameters);

    // Solar dates.
    bool IsValidDate(const QString& date);
    QString CompleateDate(const QString& date);
    static QString ToFarsiDate(const QString& gregorian);
    QString FarsiToday() const { return m_farsiTodayText; }
    // Recomputes today's solar date from the clock.
    void refreshFarsiToday();

private:
    QString m_connectionName;
    QStringList m_returnParams;
    QString m_farsiTodayText;
    QPointer<QWidget> m_waitBox;
    QLabel* m_waitText = nullptr;
    LogBoard* m_board = nullptr;
};
