#include "worklist/FilterFiles.h"

namespace filterfiles {

namespace {
// How much of the text after a placeholder is kept; longer filters are cut there.
constexpr qsizetype kKeptAfterPlaceholder = 1000;
} // namespace

QString replaceDatePlaceholder(const QString& text, const QString& today)
{
    const QString placeholder = QString::fromUtf16(kDatePlaceholder);
    QString result = text;
    for (;;) {
        const qsizetype p = result.indexOf(placeholder, 0, Qt::CaseInsensitive);
        if (p < 0)
            return result;
        result = result.left(p) + u'\'' + today + u'\'' +
                 result.mid(p + placeholder.size(), kKeptAfterPlaceholder);
    }
}

QString filterTextOfLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString captionOfFileName(const QString& fileName)
{
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString editorArguments(const QString& filePath)
{
    static const char* const kSwitches[] = {"-multiInst", "-noPlugin", "-nosession", "-lsql", "-notabbar"};
    QString arguments;
    for (const char* option : kSwitches)
        arguments += u'"' + QLatin1String(option) + QStringLiteral("\" ");
    return arguments + u'"' + filePath + u'"';
}

QStringList reportDefinition(const QList<ReportColumn>& columns, bool filtered, const QString& filterText)
{
    QStringList lines;
    for (const ReportColumn& column : columns)
        lines.append(u'~' + column.caption);
    lines.append(QStringLiteral("Select "));
    for (qsizetype i = 0; i < columns.size(); ++i)
        lines.append(i + 1 < columns.size() ? columns.at(i).field + QStringLiteral(" ,")
                                            : columns.at(i).field);
    lines.append(QStringLiteral("From P_VWork "));
    if (filtered)
        lines.append(QStringLiteral("Where ") + filterText);
    return lines;
}

} // namespace filterfiles
