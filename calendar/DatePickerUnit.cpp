#include "calendar/DatePickerUnit.h"

namespace {
TDatePickerForm* g_instance = nullptr;
}

TDatePickerForm::TDatePickerForm(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("DatePickerForm"));
    setLayoutDirection(Qt::RightToLeft);
}

TDatePickerForm* TDatePickerForm::instance() { return g_instance; }
