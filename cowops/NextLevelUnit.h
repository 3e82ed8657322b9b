#pragma once

#include <QDialog>

// Advancing one cow to its next level.
// Created once at start; its controls come with the window's own work.
class TNextLevlForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TNextLevlForm(QWidget* parent = nullptr);
    static TNextLevlForm* instance();
};
