#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The SQLite stand-in for the herd suite's own objects (the cow register, the cow status view,
// the settings and comment tables, the catalogue view), and the plain script runner the farm
// generator uses to install the tool's objects into such a file.
namespace farm {

// Creates, on an SQLite connection, the suite's tables and views with the columns the tool reads:
// Main, CowStatus with the view cowStatusView over Main, Info, FrComments, and the catalogue view
// sysobjects (name compared without regard to case, XType 'U' for tables and 'V' for views).
// Existing objects are left as they are.
bool createSuiteObjects(QSqlDatabase db, QString* error = nullptr);

// The farm generator's own simple splitter for setup scripts: empty lines and lines starting with
// "--" or "//" are dropped, a line reading GO (any case, blanks around it) ends a batch, blank
// batches are dropped, and lines after the last GO are not run (the tool's runner never runs a
// script's last line either, so every script ends with GO). Returns the batches' texts, their
// lines joined by line breaks. It is not the tool's runner: it logs nothing and keeps no numbers.
QStringList splitBatches(const QStringList& lines);

// Runs every batch of a UTF-8 script file (the form kept in the repository) on the connection;
// stops at the first batch that fails and names it in the error.
bool runScriptFile(QSqlDatabase db, const QString& utf8Path, QString* error = nullptr);

// Reads a UTF-8 text file as lines (CR LF, LF or CR ends).
bool readUtf8Lines(const QString& path, QStringList* lines, QString* error = nullptr);

// Writes a UTF-8 script as the tool reads it: code page 1256 with CR LF line ends. Fails, and
// writes nothing, when a character has no place in that code page.
bool writeScriptCp1256(const QString& utf8SourcePath, const QString& destination, QString* error = nullptr);

} // namespace farm
