#pragma once
// The main() of the benchmarks that drive real windows: offscreen unless a platform is named, every box
// answered No, error boxes reported (a run that met one measured something else), and the printer
// object when the program would have one by then.
#include "app/qt/common/MessageBoxes.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

inline int RunWindowBenchmarks(int argc, char** argv, const char* name, bool withPrinter,
                               const std::function<void()>& before = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int errors = 0;
    msgbox::SetResponder([&errors, name](msgbox::Kind kind, const QString& text) {
        if (kind == msgbox::Kind::Error && errors++ == 0)
            std::fprintf(stderr, "%s: %s\n", name, qPrintable(text));
        return false;
    });
    std::unique_ptr<THqPrinterInstance> printer;
    if (withPrinter) printer = std::make_unique<THqPrinterInstance>();
    if (before) before();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (errors > 0) std::fprintf(stderr, "%s: %d error boxes during the run\n", name, errors);
    msgbox::SetResponder({});
    return 0;
}
