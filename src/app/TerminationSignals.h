#pragma once

class QWidget;

// Closes the window, and so saves the geometry and the profile, when the process is asked to end
// (SIGTERM at logout or shutdown, SIGHUP, SIGINT) instead of dying with unsaved changes.
void CloseOnTerminationSignals(QWidget* window);
