#pragma once

#include <functional>

class QObject;

// Ends the process by the signal, as if it had not been caught, so that whoever sent it sees it so.
void EndBySignal(int signal);

// When the process is asked to end (SIGTERM at logout or shutdown, SIGHUP, SIGINT), runs `shutDown` in
// the event loop, also in the loop of a dialog or message box that waits for an answer, then `end` with
// the signal. The process ends there: nothing that the dialog interrupted goes on, and no question waits.
void EndOnTerminationSignals(QObject* owner, const std::function<void()>& shutDown,
                             const std::function<void(int signal)>& end = EndBySignal);
