#pragma once
// SIGTERM, SIGHUP and SIGINT (the session ending, the system shutting down, Ctrl+C in a terminal) end
// the event loop the ordinary way, so the main window is destroyed and writes its settings instead of
// the process dying with them unsaved.
// A signal that comes while a modal box of the start-up is open (before the event loop runs, where
// quitting has no effect) closes the box, and TerminationRequested() tells the start-up to stop.
class QCoreApplication;

void QuitOnTerminationSignals(QCoreApplication& app);

// True once one of those signals has arrived.
bool TerminationRequested();
