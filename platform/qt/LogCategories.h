#pragma once
// The program's logging categories, for the paths that stay silent by design: what the user never needs
// to see, support sometimes does. Each is off below warnings unless QT_LOGGING_RULES switches it on,
// e.g. QT_LOGGING_RULES="zaridi.*.debug=true" or "zaridi.printer.debug=true".
#include <QLoggingCategory>

// zaridi.printer: the background reading of the printers, whose failures the main thread meets again.
Q_DECLARE_LOGGING_CATEGORY(lcPrinter)
// zaridi.history: the history not at hand where it is optional (the order queue's "printed before").
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
// zaridi.orders: what an order file gave the queue.
Q_DECLARE_LOGGING_CATEGORY(lcOrders)
// zaridi.startup: start-up hints that fail quietly (the registered printer read ahead).
Q_DECLARE_LOGGING_CATEGORY(lcStartUp)

#include <QString>
#include <exception>

// What an exception says, for a log line.
QString LoggedError(const std::exception_ptr& error);
