#include "data/ConnectionSettings.h"

#include "services/TextFile.h"

#include <QFile>

namespace connsettings {

QByteArray scrambleLine(const QByteArray& line)
{
    QByteArray out = line;
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = char(uchar(out.at(i)) ^ uchar((2 * (i + 1)) % 256));
    return out;
}

namespace {
QList<QByteArray> splitByteLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}
} // namespace

bool readScrambledFile(const QString& path, ConnectionValues* values, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QList<QByteArray> lines = splitByteLines(file.readAll());
    if (lines.size() < 4) {
        *error = QStringLiteral("%1 holds %2 lines; it needs four.").arg(path).arg(lines.size());
        return false;
    }
    auto line = [&](int i) { return textfile::decode(scrambleLine(lines.at(i))); };
    values->password = line(0);
    values->server = line(1);
    values->database = line(2);
    values->userName = line(3);
    return true;
}

bool writeScrambledFile(const QString& path, const ConnectionValues& values, QString* error)
{
    QByteArray bytes;
    for (const QString& v : {values.password, values.server, values.database, values.userName})
        bytes += scrambleLine(textfile::encode(v)) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace connsettings
