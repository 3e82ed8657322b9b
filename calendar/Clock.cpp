#include "calendar/Clock.h"

namespace appclock {

namespace {
QDate& fixed()
{
    static QDate date;
    return date;
}
} // namespace

QDate today() { return fixed().isValid() ? fixed() : QDate::currentDate(); }

void setToday(const QDate& date) { fixed() = date; }

} // namespace appclock
