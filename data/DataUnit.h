#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <memory>

class Engine;
class QSqlQueryModel;
class QSqlTableModel;
class WorkListModel;

// The data module: the one connection to the farm database and the data sets every window
// shares. Created once by the program entry, after the services.
class TDm final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDm)

public:
    static constexpr const char* kConnectionName = "OstreloPasturaCon";

    explicit TDm(QObject* parent = nullptr);
    ~TDm() override;

    static TDm* instance();

    // Connects, installs the tool on a first run, checks the tool's table and opens the data sets.
    // Failures are reported to the user and ask the program to end.
    void DataModuleCreate();
    bool isOpen() const { return m_open; }

    QSqlDatabase OstreloPasturaCon() const;
    Engine* engine() const { return m_engine.get(); }

    // The shared data sets.
    WorkListModel* TP_VWork() const { return m_vwork; }    // the view P_vWork, the work list
    QSqlTableModel* TP_Work() const { return m_work; }     // the table P_Work, the enrolments
    QSqlTableModel* MP_ProtocolDesign() const { return m_design; } // the table P_ProtocolDesign
    QSqlQueryModel* QAskCh() const { return m_askCh; }     // the general-purpose query
    // Closes QAskCh, gives it a new text and opens it; false with the engine's text on failure.
    bool openQAskCh(const QString& sql, QString* error = nullptr);
    QString QAskChSql() const { return m_askChSql; }

    // Sp1: recomputes the due dates and days in treatment with today's solar date.
    bool Sp1(const QString& today, QString* error = nullptr);
    // Re-reads TP_Work and TP_VWork after a change of enrolments.
    void refreshWork();

private:
    bool openDataSets(QString* error);

    std::unique_ptr<Engine> m_engine;
    WorkListModel* m_vwork = nullptr;
    QSqlTableModel* m_work = nullptr;
    QSqlTableModel* m_design = nullptr;
    QSqlQueryModel* m_askCh = nullptr;
    QString m_askChSql;
    bool m_open = false;
};
