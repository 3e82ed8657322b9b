#include "cowops/Sel1CowUnit.h"

namespace {
TSel1CowForm* g_instance = nullptr;
}

TSel1CowForm::TSel1CowForm(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("Sel1CowForm"));
    setLayoutDirection(Qt::RightToLeft);
}

TSel1CowForm* TSel1CowForm::instance() { return g_instance; }
