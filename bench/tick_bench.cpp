// What one tick of the clock bar costs without painting: the tooltip, the watch, the colour and
// the texts, on the fake window. The tick runs ten times a second for as long as the program does;
// the tooltip and the texts are composed only in the ticks whose inputs changed.

#include "program/tests/support/TestProgram.h"

#include <benchmark/benchmark.h>

namespace {

using ambrel::testing::TestProgram;

// One iteration is one tick, so the Time column is the time per tick. The clock steps through
// the day a tenth of a second per tick, as the timer does.
void runTicks(benchmark::State& state, TestProgram& app) {
    int tenth = 0;
    for (auto _ : state) {
        const int second = tenth / 10 % 86400;
        app.clock.set(second / 3600, second / 60 % 60, second % 60);
        app.program.clock().onTick();
        ++tenth;
    }
}

// The default settings: format D, alarm off, no countdown.
void BM_TickDateFormat(benchmark::State& state) {
    TestProgram app;
    app.startWithDefaults();
    runTicks(state, app);
}
BENCHMARK(BM_TickDateFormat);

// Format T with the alarm armed (for a time that never comes) and a countdown in the tooltip:
// the longest tooltip the tick compares.
void BM_TickTimeFormatAlarmArmed(benchmark::State& state) {
    TestProgram app;
    app.startWithDefaults();
    ambrel::Settings& settings = app.settings();
    settings.displayMode = "T";
    settings.alarmState = "ALON";
    settings.alarmHour = 24;
    app.program.countdown().infoText = "【タイマー設定 15分 （ 10時 35分に通知）】";
    runTicks(state, app);
}
BENCHMARK(BM_TickTimeFormatAlarmArmed);

} // namespace

BENCHMARK_MAIN();
