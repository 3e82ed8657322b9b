#pragma once

#include <QList>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// Every box the user answers goes through here. In scripted mode (tests) no window is shown:
// information boxes are recorded and return at once, and boxes that need an answer take the
// next queued one (an unanswered one is recorded and answered with Cancel/No).
class Dialogs final
{
public:
    enum class Kind { Information, Error, Question, Input, Plain, SaveFile, Modal };

    struct Shown
    {
        Kind kind;
        QString caption;
        QString text;
        bool answered = true;
    };

    // Result codes of the question box, as the callers compare them.
    static constexpr int Yes = 6;
    static constexpr int No = 7;
    static constexpr int Closed = 2;

    static void setScripted(bool on);
    static bool scripted();

    static void queueButton(int result);           // question box: Yes, No or Closed
    static void queueText(const QString& text);    // input box accepted with this text
    static void queueCancel();                     // input box or file dialog cancelled
    static void queueFile(const QString& path);    // save dialog answered with this name
    static void clearQueue();
    static int pendingAnswers();

    static QList<Shown> shown();
    static QStringList shownTexts();
    static void clearShown();

    // Runs a message box that is built by the caller; in scripted mode it is recorded only.
    static void message(Kind kind, const QString& caption, const QString& text,
                        const std::function<void()>& showForReal);
    // A question: returns Yes, No or Closed.
    static int question(const QString& caption, const QString& text, const std::function<int()>& showForReal);
    // An input box: returns true and sets *value when accepted.
    static bool input(const QString& caption, const QString& prompt, QString* value,
                      const std::function<bool(QString*)>& showForReal);
    // The save dialog: the chosen name, or empty when cancelled.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                const QString& filter);
    // The platform's plain message box.
    static void plain(const QString& text);
};
