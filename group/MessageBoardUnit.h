#pragma once

#include "services/LogBoard.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

class BusyIndicator;
class QLabel;
class QPushButton;
class QTableView;

// The board's rows. Each row is kept as one line, key "=" value, and split back into its two
// columns at the first "=" when shown or saved; a key that itself holds "=" therefore loses
// its tail to the value. Rows are only appended, or removed all at once.
class BoardRowModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BoardRowModel)

public:
    enum Column
    {
        KeyColumn = 0,
        ValueColumn = 1
    };

    explicit BoardRowModel(QObject* parent = nullptr);

    void append(const QStringList& lines);
    void clear();
    const QStringList& lines() const { return m_lines; }

    static QString keyOf(const QString& line);
    static QString valueOf(const QString& line);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList m_lines;
};

// The operation log board: one window for the whole run of the program, created hidden. Long
// operations open a run with StartRecording, log rows with PostThisMessage and close it with
// StopRecording; the user then saves the rows as a text file or goes back. The board stays on
// top without blocking the other windows. PostThisMessage serves pending events after every
// row; within a fast burst of rows the board is painted at most 25 times a second.
//
// Controls (objectName): MessageList (the rows), PBT (busy strip), Label1 (row count under the
// list), dxButton1 (back), dxButton2 (save). The save dialog is Dialogs::saveFileName.
class TMessageBoardForm final : public QDialog, public LogBoard
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMessageBoardForm)

public:
    // A value longer than this is carried on under the key kContinuationKey.
    static constexpr int kRowWidth = 70;
    static const QString kContinuationKey;

    explicit TMessageBoardForm(QWidget* parent = nullptr);
    ~TMessageBoardForm() override;

    void StartRecording(bool rightToLeft, const QString& title);
    void PostThisMessage(const QString& key, const QString& value);
    void StopRecording();
    // The shell's "open" on a file; the result is not checked.
    void ExecuteFile(const QString& path);

    // Rows as stored, key "=" value, in order.
    QStringList lines() const;

    // LogBoard
    void startRecording(bool rightToLeft, const QString& title) override;
    void postThisMessage(const QString& key, const QString& value) override;
    void stopRecording() override;
    bool isShowing() const override;

public slots:
    void dxButton1Click();
    void dxButton2Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Enter and the release of Esc go back, whichever control has the focus; true when used.
    bool handleKey(QEvent* event);
    void processPendingEvents();
    void showCount();
    void fitToScreenHeight();

    BoardRowModel* m_rows = nullptr;
    QTableView* m_list = nullptr;
    BusyIndicator* m_busy = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_save = nullptr;
    QElapsedTimer m_sincePaint;
    int m_holdPaintAtLevel = -1; // event loop level at which paint requests are held, or -1
    bool m_paintHeld = false;
};
