#pragma once

#include <QString>
#include <QTemporaryDir>

// What every test shares: scripted boxes, no desktop viewer, a fresh trace folder.
namespace testsupport {

// Call from initTestCase(): boxes are answered from the queue, documents are only recorded.
void initGuiTest();

// Call from init()/cleanup(): forget answers, shown boxes, end requests and opened paths.
void resetSession();

// Closes modal widgets left over by a failed case and reports whether any was left.
bool closeLeftoverModals();

} // namespace testsupport
