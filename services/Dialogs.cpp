#include "services/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>

namespace {
bool g_scripted = false;
QQueue<Dialogs::Shown>& shownList()
{
    static QQueue<Dialogs::Shown> list;
    return list;
}
struct Queued
{
    int type;
    int button;
    QString text;
};
QQueue<Queued>& queue()
{
    static QQueue<Queued> q;
    return q;
}
enum { TButton, TText, TCancel, TFile };

void record(Dialogs::Kind kind, const QString& caption, const QString& text, bool answered = true)
{
    shownList().append({kind, caption, text, answered});
}

bool takeAnswer(int* type, int* button, QString* text)
{
    if (queue().isEmpty())
        return false;
    const Queued q = queue().dequeue();
    *type = q.type;
    *button = q.button;
    *text = q.text;
    return true;
}
} // namespace

void Dialogs::setScripted(bool on) { g_scripted = on; }
bool Dialogs::scripted() { return g_scripted; }

void Dialogs::queueButton(int result) { queue().enqueue({TButton, result, {}}); }
void Dialogs::queueText(const QString& text) { queue().enqueue({TText, 0, text}); }
void Dialogs::queueCancel() { queue().enqueue({TCancel, 0, {}}); }
void Dialogs::queueFile(const QString& path) { queue().enqueue({TFile, 0, path}); }
void Dialogs::clearQueue() { queue().clear(); }
int Dialogs::pendingAnswers() { return int(queue().size()); }

QList<Dialogs::Shown> Dialogs::shown() { return shownList(); }

QStringList Dialogs::shownTexts()
{
    QStringList texts;
    for (const Shown& s : shownList())
        texts.append(s.text);
    return texts;
}

void Dialogs::clearShown() { shownList().clear(); }

void Dialogs::message(Kind kind, const QString& caption, const QString& text,
                      const std::function<void()>& showForReal)
{
    record(kind, caption, text);
    if (!g_scripted)
        showForReal();
}

int Dialogs::question(const QString& caption, const QString& text, const std::function<int()>& showForReal)
{
    if (!g_scripted) {
        record(Kind::Question, caption, text);
        return showForReal();
    }
    int type = 0, button = 0;
    QString answer;
    if (!takeAnswer(&type, &button, &answer) || type != TButton) {
        record(Kind::Question, caption, text, false);
        return No;
    }
    record(Kind::Question, caption, text);
    return button;
}

bool Dialogs::input(const QString& caption, const QString& prompt, QString* value,
                    const std::function<bool(QString*)>& showForReal)
{
    if (!g_scripted) {
        record(Kind::Input, caption, prompt);
        return showForReal(value);
    }
    int type = 0, button = 0;
    QString answer;
    if (!takeAnswer(&type, &button, &answer) || (type != TText && type != TCancel)) {
        record(Kind::Input, caption, prompt, false);
        return false;
    }
    record(Kind::Input, caption, prompt);
    if (type == TCancel)
        return false;
    *value = answer;
    return true;
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                              const QString& filter)
{
    if (!g_scripted) {
        record(Kind::SaveFile, caption, proposed);
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    }
    int type = 0, button = 0;
    QString answer;
    if (!takeAnswer(&type, &button, &answer) || (type != TFile && type != TCancel)) {
        record(Kind::SaveFile, caption, proposed, false);
        return {};
    }
    record(Kind::SaveFile, caption, proposed);
    return type == TFile ? answer : QString();
}

void Dialogs::plain(const QString& text)
{
    message(Kind::Plain, QString(), text, [&] {
        QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
        box.exec();
    });
}
