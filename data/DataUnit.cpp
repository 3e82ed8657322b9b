#include "data/DataUnit.h"

#include "data/ConnectionFinder.h"
#include "data/Engine.h"
#include "data/Installer.h"
#include "data/WorkListModel.h"
#include "services/AppControl.h"
#include "services/Paths.h"
#include "services/ToolsUnit.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlTableModel>

namespace {
TDm* g_instance = nullptr;

const QString kDefaultAskCh = QStringLiteral("Select * From \n"
                                             "cowStatusView Where Existcode<2\n"
                                             "and Sex Like '%ماده%' And LastBriding<>'آبستن' And DisZ>40");
} // namespace

TDm::TDm(QObject* parent)
    : QObject(parent)
    , m_askChSql(kDefaultAskCh)
{
    g_instance = this;
    m_askCh = new QSqlQueryModel(this);
    DataModuleCreate();
}

TDm::~TDm()
{
    delete m_vwork;
    delete m_work;
    delete m_design;
    delete m_askCh;
    m_vwork = nullptr;
    m_work = nullptr;
    m_design = nullptr;
    m_askCh = nullptr;
    // The farm connection and, in multi-customer installations, the register's.
    for (const char* name : {kConnectionName, kMulticonnection}) {
        if (QSqlDatabase::contains(QString::fromLatin1(name))) {
            QSqlDatabase::database(QString::fromLatin1(name), false).close();
            QSqlDatabase::removeDatabase(QString::fromLatin1(name));
        }
    }
    if (g_instance == this)
        g_instance = nullptr;
}

TDm* TDm::instance() { return g_instance; }

QSqlDatabase TDm::OstreloPasturaCon() const
{
    return QSqlDatabase::database(QString::fromLatin1(kConnectionName), false);
}

void TDm::DataModuleCreate()
{
    TTools* tools = TTools::instance();
    tools->ShowBoxMessage(QStringLiteral("لطفا صبر كنيد \rنرم افزاركنترل دام در پروتكل"));

    const ConnectionValues values = FindConStr();
    m_engine = Engine::forServer(values.server);
    QString error;
    if (!m_engine->open(QString::fromLatin1(kConnectionName), values, &error)) {
        tools->ShowMsg(QStringLiteral("خطا در اتصال به ديتابيس"));
        appcontrol::requestEnd();
        return;
    }
    tools->setServerConnection(QString::fromLatin1(kConnectionName));

    installer::runFirstRunInstallation(*tools, paths::programFolder());

    if (!tools->IsTableExist(QStringLiteral("P_ProtocolDesign"))) {
        tools->ShowMsg(QStringLiteral("نرم افزار پروتكل روي اين سيستم نصب نشده است . با شركت نوپاسار تماس بگيريد "));
        appcontrol::requestEnd();
        return;
    }
    if (!openDataSets(&error)) {
        tools->ShowMsg(QStringLiteral("خطا در باز كردن جداول و انتصاب نام استور پروس"));
        appcontrol::requestEnd();
        return;
    }
    m_open = true;
}

bool TDm::openDataSets(QString* error)
{
    const QSqlDatabase db = OstreloPasturaCon();
    m_design = new QSqlTableModel(this, db);
    m_design->setTable(QStringLiteral("P_ProtocolDesign"));
    m_design->setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (!m_design->select()) {
        *error = m_design->lastError().text();
        return false;
    }
    m_work = new QSqlTableModel(this, db);
    m_work->setTable(QStringLiteral("P_Work"));
    m_work->setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (!m_work->select()) {
        *error = m_work->lastError().text();
        return false;
    }
    m_vwork = new WorkListModel(this, db);
    m_vwork->setEngine(m_engine.get());
    m_vwork->setTable(QStringLiteral("P_vWork"));
    if (!m_vwork->refresh()) {
        *error = m_vwork->lastError().text();
        return false;
    }
    return m_engine->procedureReady(db, error);
}

bool TDm::openQAskCh(const QString& sql, QString* error)
{
    m_askChSql = sql;
    m_askCh->clear();
    m_askCh->setQuery(sql, OstreloPasturaCon());
    if (m_askCh->lastError().isValid()) {
        if (error)
            *error = m_askCh->lastError().text();
        return false;
    }
    return true;
}

bool TDm::Sp1(const QString& today, QString* error)
{
    QString ignored;
    return m_engine && m_engine->computeDis(OstreloPasturaCon(), today, error ? error : &ignored);
}

void TDm::refreshWork()
{
    if (m_work)
        m_work->select();
    if (m_vwork)
        m_vwork->refresh();
}
