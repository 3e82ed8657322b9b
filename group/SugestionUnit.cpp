#include "group/SugestionUnit.h"

namespace {
TSugestionForm* g_instance = nullptr;
}

TSugestionForm::TSugestionForm(QWidget* parent)
    : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("SugestionForm"));
    setLayoutDirection(Qt::RightToLeft);
}

TSugestionForm* TSugestionForm::instance() { return g_instance; }
