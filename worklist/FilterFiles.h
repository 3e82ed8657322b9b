#pragma once

#include <QString>
#include <QStringList>

// The rules of the saved filter files, the editor's command line and the report definition that
// is handed to the report generator. Pure functions: the window supplies the paths and values.
namespace filterfiles {

// The placeholder a saved filter writes for today's solar date, in any letter case.
inline constexpr char16_t kDatePlaceholder[] = u":SDATE";

// Replaces every placeholder by today's date in single quotes. After each replacement only the
// first 1000 characters that followed the placeholder are kept; later placeholders are found in
// what is left.
QString replaceDatePlaceholder(const QString& text, const QString& today);

// The filter condition of a file's lines: each line followed by a line break ("" for no lines).
QString filterTextOfLines(const QStringList& lines);

// The tab caption of a filter file: its name up to, not including, the first ".".
QString captionOfFileName(const QString& fileName);

// The argument text for the editor: its five switches, each quoted and followed by one blank,
// then the quoted path of the file to edit.
QString editorArguments(const QString& filePath);

// One visible grid column as the report definition needs it.
struct ReportColumn
{
    QString caption;
    QString field;
};

// The lines of the report definition: a "~" caption line per column, the select list over the
// work list's view and, when filtered, the filter as its WHERE clause.
QStringList reportDefinition(const QList<ReportColumn>& columns, bool filtered, const QString& filterText);

} // namespace filterfiles
