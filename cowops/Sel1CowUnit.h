#pragma once

#include <QDialog>

// Entering one cow into the selected protocol.
// Created once at start; its controls come with the window's own work.
class TSel1CowForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TSel1CowForm(QWidget* parent = nullptr);
    static TSel1CowForm* instance();
};
