// Posting a long run to the operation log board: 10,000 rows of about 40 characters between
// StartRecording and StopRecording, with the board shown and the event loop served per row.
#include "group/MessageBoardUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    constexpr int kRows = 10000;
    QStringList values;
    values.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        values.append(QStringLiteral("1403/%1/%2 level %3 done, next in %4 days")
                          .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                          .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                          .arg(i % 9)
                          .arg(i % 30));

    TMessageBoardForm board;
    QElapsedTimer timer;
    timer.start();
    board.StartRecording(true, QStringLiteral("bench"));
    for (int i = 0; i < kRows; ++i)
        board.PostThisMessage(QString::number(10000 + i), values.at(i));
    board.StopRecording();
    const qint64 ns = timer.nsecsElapsed();

    if (board.lines().size() != kRows)
        return 1;
    QTextStream out(stdout);
    out << "board.post10000: " << QString::number(ns / 1e6, 'f', 1) << " ms\n";
    out << "board.post10000 per row: " << QString::number(ns / 1e3 / kRows, 'f', 2) << " us\n";
    return 0;
}
