#pragma once
// SIGTERM, SIGHUP and SIGINT (the session ending, the system shutting down, Ctrl+C in a terminal) end
// the event loop the ordinary way, so the main window is destroyed and writes its settings instead of
// the process dying with them unsaved.
class QCoreApplication;

void QuitOnTerminationSignals(QCoreApplication& app);
