#include "services/ToolsUnit.h"

#include "calendar/Clock.h"
#include "calendar/SolarDate.h"
#include "platform/Platform.h"
#include "services/AppControl.h"
#include "services/Dialogs.h"
#include "services/LogBoard.h"
#include "services/Paths.h"
#include "services/ScriptText.h"
#include "services/SqlText.h"
#include "services/TextFile.h"
#include "services/WindowLook.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

TTools* g_instance = nullptr;

const char kPersianLayout[] = "00000429";

QFont arabicFont(int pointSize) { return ui::windowFont(QFont(QStringLiteral("Tahoma"), pointSize)); }

// A standard box, right-to-left, with the given caption and one button per text.
void prepareBox(QMessageBox& box, const QString& caption, const QString& text)
{
    box.setWindowTitle(caption);
    box.setText(text);
    box.setLayoutDirection(Qt::RightToLeft);
    box.setTextFormat(Qt::PlainText);
}

// The information and error boxes: a beep, then one button "back" that answers Enter and Esc.
void showBackBox(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    platform::beep();
    QMessageBox box(icon, caption, text);
    prepareBox(box, caption, text);
    QPushButton* back = box.addButton(QStringLiteral("بازگشت"), QMessageBox::AcceptRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
}

QString leftTrimBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    return text.mid(i);
}

bool startsWithSelect(const QString& text) { return text.left(6).toUpper() == QLatin1String("SELECT"); }

} // namespace

TTools::TTools(QObject* parent)
    : QObject(parent)
{
    g_instance = this;
    for (int i = 0; i < 50; ++i)
        m_returnParams.append(QString());
}

TTools::~TTools()
{
    ShowBoxClose();
    if (g_instance == this)
        g_instance = nullptr;
}

TTools* TTools::instance() { return g_instance; }

void TTools::FormCreate()
{
    // Dates are written "dd/mm/yyyy" and times "HH:mm:ss" wherever the tool formats them.
    platform::activateKeyboardLayout(QString::fromLatin1(kPersianLayout));
    refreshFarsiToday();
    m_returnParams.clear();
    for (int i = 0; i < 50; ++i)
        m_returnParams.append(QString());
    QDir().mkpath(paths::traceFolder()); // a failure shows later, when a trace file is written
}

void TTools::refreshFarsiToday() { m_farsiTodayText = ToFarsiDate(appclock::today().toString(QStringLiteral("dd/MM/yyyy"))); }

void TTools::setServerConnection(const QString& connectionName) { m_connectionName = connectionName; }

QSqlDatabase TTools::ServerConnection() const { return QSqlDatabase::database(m_connectionName, false); }

void TTools::setBoard(LogBoard* board) { m_board = board; }

LogBoard* TTools::board() const { return m_board; }

// ---------------------------------------------------------------- boxes

void TTools::ShowMsg(const QString& message)
{
    const QString caption = QStringLiteral("پيام");
    if (appcontrol::endRequested()) { // the program is on its way out: nothing waits for the user
        Dialogs::message(Dialogs::Kind::Information, caption, message, [] {});
        return;
    }
    Dialogs::message(Dialogs::Kind::Information, caption, message,
                     [&] { showBackBox(QMessageBox::Information, caption, message); });
}

QString TTools::exceptMessageText(const QString& message, const QString& systemMessage)
{
    QString m = message;
    if (m.size() > 300)
        m = m.left(300) + u'\r' + QStringLiteral("(بدليل طولاني بودن ادامه دستور نمايش داده نمي شود)");
    return m + u'\r' + QString(37, u'_') + QStringLiteral("\r\r") + QStringLiteral("پيام اصلي سيستم :") + u'\r' +
           systemMessage;
}

void TTools::ShowExceptMsg(const QString& message, const QString& systemMessage)
{
    const QString caption = QStringLiteral("خطا");
    const QString text = exceptMessageText(message, systemMessage);
    if (appcontrol::endRequested()) {
        Dialogs::message(Dialogs::Kind::Error, caption, text, [] {});
        return;
    }
    Dialogs::message(Dialogs::Kind::Error, caption, text, [&] { showBackBox(QMessageBox::Critical, caption, text); });
}

int TTools::AskYesNo(const QString& question)
{
    const QString caption = QStringLiteral("سوال");
    return Dialogs::question(caption, question, [&] {
        QMessageBox box(QMessageBox::Question, caption, question);
        prepareBox(box, caption, question);
        QPushButton* yes = box.addButton(QStringLiteral("بله"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("خير"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        if (box.clickedButton() == yes)
            return Dialogs::Yes;
        if (box.clickedButton() == no)
            return Dialogs::No;
        return Dialogs::Closed;
    });
}

void TTools::ShowBoxMessage(const QString& text)
{
    if (!m_waitBox) {
        // A borderless strip without buttons; the initial text fixes its width.
        auto* box = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        box->setObjectName(QStringLiteral("WaitBox"));
        box->setLayoutDirection(Qt::RightToLeft);
        ui::fillBackground(box, QColor(213, 255, 213));
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(8, 4, 8, 4);
        auto* icon = new QLabel(box);
        icon->setPixmap(box->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
        m_waitText = new QLabel(QStringLiteral("           لطفا صبر كنيد               "), box);
        m_waitText->setObjectName(QStringLiteral("WaitText"));
        layout->addWidget(icon);
        layout->addWidget(m_waitText, 1);
        box->adjustSize();
        box->setFixedSize(box->width(), 53);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            box->move(screen->availableGeometry().center() - box->rect().center());
        box->show();
        m_waitBox = box;
    }
    if (!text.isEmpty())
        m_waitText->setText(text);
    QCoreApplication::processEvents();
}

void TTools::ShowBoxClose()
{
    delete m_waitBox.data();
    m_waitBox = nullptr;
    m_waitText = nullptr;
}

QWidget* TTools::waitBox() const { return m_waitBox.data(); }

QString TTools::waitBoxText() const { return m_waitBox ? m_waitText->text() : QString(); }

bool TTools::InQuery(const QString& prompt, QString& value)
{
    const QString caption = QStringLiteral("سوال");
    SwitchToFarsi();
    QString typed = value.left(255);
    for (;;) {
        QString answer = typed;
        const bool accepted = Dialogs::input(caption, prompt, &answer, [&](QString* v) {
            QDialog dialog;
            dialog.setWindowTitle(caption);
            dialog.setLayoutDirection(Qt::RightToLeft);
            dialog.setFont(arabicFont(9));
            QFontMetrics metrics(dialog.font());
            const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
            const double unitX = metrics.horizontalAdvance(letters) / 52.0 / 4.0;
            const double unitY = metrics.height() / 8.0;
            auto hx = [&](int units) { return int(units * unitX + 0.5); };
            auto vy = [&](int units) { return int(units * unitY + 0.5); };
            auto* label = new QLabel(prompt, &dialog);
            label->setWordWrap(true);
            label->setGeometry(hx(8), vy(8), hx(164), label->heightForWidth(hx(164)));
            auto* edit = new QLineEdit(&dialog);
            edit->setObjectName(QStringLiteral("Edit"));
            edit->setMaxLength(255);
            edit->setText(*v);
            edit->selectAll();
            edit->setGeometry(hx(8), label->geometry().bottom() + 5, hx(164), edit->sizeHint().height());
            auto* ok = new QPushButton(QStringLiteral("قبول"), &dialog);
            auto* cancel = new QPushButton(QStringLiteral("انصراف"), &dialog);
            const int buttonTop = edit->geometry().bottom() + 15;
            // Right-to-left: left offsets are measured from the right edge.
            const int width = hx(180);
            ok->setGeometry(width - hx(38) - hx(50), buttonTop, hx(50), vy(14));
            cancel->setGeometry(width - hx(92) - hx(50), buttonTop, hx(50), vy(14));
            ok->setDefault(true);
            QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
            QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
            dialog.setFixedSize(width, ok->geometry().bottom() + 13);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            *v = edit->text();
            return true;
        });
        if (!accepted)
            return false;
        if (!IsBlank(answer)) {
            value = answer;
            return true;
        }
        typed = answer; // shown again, unchanged, without a message
    }
}

bool TTools::IsBlank(const QString& text) { return solar::trimmed(text).isEmpty(); }

void TTools::SwitchToFarsi() { platform::activateKeyboardLayout(QString::fromLatin1(kPersianLayout)); }

// ---------------------------------------------------------------- SQL helpers

int TTools::ExecSql(const QString& statement)
{
    QString s = leftTrimBlanks(statement);
    if (s.isEmpty()) // nothing to run; an empty statement must not be read past its end
        return 0;
    if (startsWithSelect(s)) {
        if (s.toUpper().contains(QLatin1String("COUNT"))) {
            ShowMsg(QStringLiteral("اشكال در برنامه نويسي"));
            appcontrol::requestEnd();
        } else {
            const QString rest = s.mid(6);
            const qsizetype from = rest.toUpper().indexOf(QLatin1String("FROM"));
            const QString before = from < 0 ? QString() : rest.left(from);
            const QString after = from < 0 ? rest : rest.mid(from);
            s = QStringLiteral("Select Count(") + before + QStringLiteral(") As Res ") + u' ' + after;
        }
    }
    QSqlQuery query(ServerConnection());
    if (startsWithSelect(s)) {
        bool ok = query.exec(s) && query.next();
        const int column = ok ? query.record().indexOf(QStringLiteral("Res")) : -1;
        if (ok && column >= 0)
            return query.value(column).toInt();
        textfile::writeLines(paths::traceFile(QStringLiteral("SqlExecuteErrorLog.Txt")), {s});
        if (m_board && m_board->isShowing())
            m_board->postThisMessage(QStringLiteral("خطا"), s);
        ShowMsg(QStringLiteral("اشكال در اجرا دستور . با برنامه نويس تماس بگيريد.- شمارش - \r") + s);
        appcontrol::requestEnd();
        return 0;
    }
    if (!query.exec(s)) {
        if (m_board && m_board->isShowing())
            m_board->postThisMessage(QStringLiteral("خطا"), s);
        return -100;
    }
    return 0;
}

bool TTools::DoSqlAndReturnParameters(const QString& statement)
{
    m_returnParams.clear();
    bool result = textfile::writeLines(paths::traceFile(QStringLiteral("Try Do Sql.Txt")), {statement});
    if (result) {
        QSqlQuery query(ServerConnection());
        query.setForwardOnly(true);
        if (query.exec(statement)) {
            const int columns = query.record().count();
            const bool hasRow = query.next();
            for (int i = 0; i < columns; ++i)
                m_returnParams.append(hasRow ? query.value(i).toString() : QString());
        } else {
            result = false;
        }
    }
    if (m_returnParams.isEmpty())
        m_returnParams.append(QString());
    return result;
}

int TTools::DoSqlForCreateList(const QString& statement, QStringList& list)
{
    list.clear();
    if (!startsWithSelect(statement))
        return 0;
    QSqlQuery query(ServerConnection());
    query.setForwardOnly(true);
    if (!query.exec(statement))
        return 0;
    int rows = 0;
    while (query.next()) {
        list.append(query.value(0).toString());
        ++rows;
    }
    if (query.lastError().isValid())
        return 0;
    return rows;
}

bool TTools::IsTableExist(const QString& tableName)
{
    return ExecSql(QStringLiteral("SELECT * FROM sysobjects WHERE (name = ") + sqltext::quoted(tableName) +
                   QStringLiteral(") And XType=") + sqltext::quoted(QStringLiteral("U"))) > 0;
}

bool TTools::DoScriptFromfile(const QString& caption, const QString& fileName)
{
    if (!QFile::exists(fileName)) {
        Dialogs::plain(QStringLiteral("فايل پيدا نشد\r") + caption + u'\r' + fileName);
        return false;
    }
    if (m_board)
        m_board->startRecording(true, caption);
    QStringList lines;
    textfile::readLines(fileName, &lines);
    textfile::writeLines(paths::traceFile(QStringLiteral("Temp.Txt")), lines);
    scripttext::removeCommentLines(lines);
    int errors = 0;
    QSqlQuery query(ServerConnection());
    for (const scripttext::Batch& batch : scripttext::batches(lines)) {
        if (batch.isBlank())
            continue;
        if (query.exec(batch.text())) {
            if (m_board)
                m_board->postThisMessage(QStringLiteral("موفقيت در"), QString::number(batch.number));
        } else {
            if (m_board)
                m_board->postThisMessage(QStringLiteral("خطا در ") + QString::number(batch.number), batch.text());
            ++errors;
        }
        query.finish();
    }
    if (m_board)
        m_board->stopRecording();
    if (errors > 0)
        ShowMsg(QStringLiteral(" در مورد \r") + caption + u'\r' + QString::number(errors) +
                QStringLiteral(" خطا وجود داشته است . گزارش را ذخيره و با شركت نوپاسار براي هماهنگي بيشتر تماس بگيريد "));
    return true;
}

// ---------------------------------------------------------------- outside programs

void TTools::ExecuteFile(const QString& path) { platform::openDocument(path); }

void TTools::ExecuteFilePara(const QString& path, const QString& parameters)
{
    platform::startProgram(path.trimmed(), parameters);
}

// ---------------------------------------------------------------- solar dates

bool TTools::IsValidDate(const QString& date)
{
    const QString s = solar::trimmed(date);
    auto invalid = [&](const QString& reason) {
        ShowMsg(QStringLiteral(" تاريخ  ") + s + QStringLiteral("  صحيح نمي باشد") + u'\r' + reason);
    };
    switch (solar::check(date)) {
    case solar::Failure::None:
        return true;
    case solar::Failure::SlashCount:
        invalid(QStringLiteral("تعداد / صحيح نيست"));
        break;
    case solar::Failure::NonDigit:
        invalid(QStringLiteral("جهت تاريخ از اعداد 0 تا 9 استفاده كنيد"));
        break;
    case solar::Failure::EmptyPart:
        ShowMsg(QStringLiteral("اشكال در ورود تاريخ"));
        break;
    case solar::Failure::Month:
        invalid(QStringLiteral("ماه صحيح نيست"));
        break;
    case solar::Failure::Day:
        invalid(QStringLiteral("روز صحيح نيست"));
        break;
    }
    return false;
}

QString TTools::CompleateDate(const QString& date)
{
    if (!IsValidDate(date))
        return date;
    return solar::complete(date);
}

QString TTools::ToFarsiDate(const QString& gregorian) { return solar::fromGregorianText(gregorian); }
