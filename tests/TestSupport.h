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

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

// Runs a step on the next modal window of the given type as soon as it is showing (it is polled
// from the event loop that exec() runs), so that a test can drive our own dialogs for real.
template <class Dialog>
void onModal(std::function<void(Dialog*)> step, int attempts = 200)
{
    QTimer::singleShot(10, [step, attempts] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            step(dialog);
            return;
        }
        if (attempts > 0)
            onModal<Dialog>(step, attempts - 1);
    });
}

} // namespace testsupport
