#include "services/SqlText.h"

namespace sqltext {

QString quoted(const QString& value)
{
    QString inner = value;
    inner.replace(u'\'', QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

QString padBody(const QString& body)
{
    if (body.size() >= 5)
        return body;
    return QStringLiteral("00000").left(5 - body.size()) + body;
}

bool isWholeNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    const qsizetype from = (text.at(0) == u'-' || text.at(0) == u'+') ? 1 : 0;
    if (from == text.size())
        return false;
    for (qsizetype i = from; i < text.size(); ++i)
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return false;
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

} // namespace sqltext
