#pragma once

#include <QDialog>

// The solar calendar picker for date fields.
// Created once at start; its controls come with the window's own work.
class TDatePickerForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TDatePickerForm(QWidget* parent = nullptr);
    static TDatePickerForm* instance();
};
