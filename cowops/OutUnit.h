#pragma once

#include <QDialog>

// Taking one cow out of its protocol.
// Created once at start; its controls come with the window's own work.
class TOutform final : public QDialog
{
    Q_OBJECT

public:
    explicit TOutform(QWidget* parent = nullptr);
    static TOutform* instance();
};
