#include "services/ScriptText.h"

namespace scripttext {

void removeCommentLines(QStringList& lines)
{
    qsizetype i = 1;
    while (i < lines.size()) {
        const QString& line = lines.at(i);
        if (line.isEmpty() || line.startsWith(QLatin1String("//")) || line.startsWith(QLatin1String("--"))) {
            lines.removeAt(i);
            i = 0;
        } else {
            ++i;
        }
    }
}

bool Batch::isBlank() const { return text().trimmed().isEmpty(); }

QString Batch::text() const { return lines.join(u'\n'); }

bool isGoLine(const QString& line) { return line.toUpper().trimmed() == QLatin1String("GO"); }

QList<Batch> batches(QStringList lines)
{
    QList<Batch> result;
    int number = 0;
    while (!lines.isEmpty()) {
        Batch batch;
        while (!isGoLine(lines.first()) && lines.size() > 1)
            batch.lines.append(lines.takeFirst());
        batch.number = ++number;
        result.append(batch);
        if (!isGoLine(lines.first()))
            break;
        lines.removeFirst();
    }
    return result;
}

} // namespace scripttext
