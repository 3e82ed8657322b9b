#pragma once

#include <QDialog>

// The suggested entry list.
// Created once at start; its controls come with the window's own work.
class TSugestionForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TSugestionForm(QWidget* parent = nullptr);
    static TSugestionForm* instance();
};
