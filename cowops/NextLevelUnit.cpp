#include "cowops/NextLevelUnit.h"

namespace {
TNextLevlForm* g_instance = nullptr;
}

TNextLevlForm::TNextLevlForm(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("NextLevlForm"));
    setLayoutDirection(Qt::RightToLeft);
}

TNextLevlForm* TNextLevlForm::instance() { return g_instance; }
