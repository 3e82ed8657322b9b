#pragma once

#include <QDialog>

// The date and reason of a group run.
// Created once at start; its controls come with the window's own work.
class TOutGroupForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TOutGroupForm(QWidget* parent = nullptr);
    static TOutGroupForm* instance();
};
