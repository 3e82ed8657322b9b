#include "group/OutGroupUnit.h"

namespace {
TOutGroupForm* g_instance = nullptr;
}

TOutGroupForm::TOutGroupForm(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("OutGroupForm"));
    setLayoutDirection(Qt::RightToLeft);
}

TOutGroupForm* TOutGroupForm::instance() { return g_instance; }
