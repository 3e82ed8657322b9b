#pragma once

#include <QDate>

// Today's date for the whole program. Tests set it; otherwise it is the computer's date.
namespace appclock {

QDate today();
void setToday(const QDate& date); // an invalid date returns to the computer's clock

} // namespace appclock
