#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every file the tool reads or writes is single-byte code page 1256 text with CR LF line ends;
// this is the one place that knows it.
namespace textfile {

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// Splits on CR LF, LF or a lone CR; a final line end does not start another line.
QStringList splitLines(const QString& text);

bool readLines(const QString& path, QStringList* lines, QString* error = nullptr);
// Whole text as stored, decoded.
bool readText(const QString& path, QString* text, QString* error = nullptr);
// Each line followed by CR LF; replaces an existing file.
bool writeLines(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace textfile
