#pragma once

// The entry of a benchmark program: Qt's core application (timers, event
// dispatch and file paths need one), then Google Benchmark. Include once, in
// the program's own source.
#include <QCoreApplication>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
