#include "cowops/OutUnit.h"

namespace {
TOutform* g_instance = nullptr;
}

TOutform::TOutform(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("Outform"));
    setLayoutDirection(Qt::RightToLeft);
}

TOutform* TOutform::instance() { return g_instance; }
