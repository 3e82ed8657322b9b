#pragma once

#include <QList>
#include <QStringList>

// The setup script's text rules: comment lines and GO-separated batches. No database here.
namespace scripttext {

// Removes empty lines and lines starting with "//" or "--". The scan starts at the second line
// and starts over at the first after every removal, so the first line goes only when some later
// line went too; stored scripts are written for exactly this rule.
void removeCommentLines(QStringList& lines);

struct Batch
{
    int number = 0;   // 1-based; a blank batch keeps its number
    QStringList lines;
    bool isBlank() const;
    QString text() const; // lines joined by line breaks
};

// A line reading GO (any case, blanks around it) ends a batch; the last line of the script is
// never part of a batch.
QList<Batch> batches(QStringList lines);

bool isGoLine(const QString& line);

} // namespace scripttext
