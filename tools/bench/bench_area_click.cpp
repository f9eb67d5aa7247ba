// The cost of one click on a busy frame: 100 areas of 10 conditions each in
// a game of 5,000 variables. A click re-reads every area file and tests every
// condition, so the cost must grow with areas x conditions, not with the
// number of variables.
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "bench/game_files.h"
#include "engine/game.h"
#include "formats/quoted_field_writer.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using bench::writeFile;

// A game folder of one frame with the given numbers of areas, conditions per
// area and variables.
void makeGame(const QString& dir, int areas, int conditions, int variables)
{
    formats::QuotedFieldWriter general;
    general.string(QStringLiteral("BENCH")).string(QString()).string(QStringLiteral("Bench")).number(0)
        .string(QStringLiteral("Busy")).string(QString()).number(640).number(480).string(QString()).string(QString())
        .string(QString()).endRecord();
    writeFile(dir + QStringLiteral("/Config/General"), general.bytes());
    formats::QuotedFieldWriter names;
    names.number(variables).endRecord();
    for (int v = 0; v < variables; ++v)
        names.line(QStringLiteral("var%1").arg(v));
    writeFile(dir + QStringLiteral("/Config/Variables"), names.bytes());
    formats::QuotedFieldWriter frame;
    frame.number(0).string(QStringLiteral("0")).boolean(false).boolean(false).string(QString()).boolean(false)
        .number(0).string(QString()).string(QString()).boolean(false).endRecord();
    writeFile(dir + QStringLiteral("/Frames/Busy.fme"), frame.bytes());
    formats::QuotedFieldWriter links;
    links.number(areas).endRecord();
    writeFile(dir + QStringLiteral("/Frames/Busy.lks"), links.bytes());
    for (int a = 1; a <= areas; ++a) {
        formats::QuotedFieldWriter area;
        area.number(a * 10).number(a * 10).number(300).number(300).number(0).boolean(false).string(QString())
            .number(0).string(QString()).endRecord();
        area.number(1).endRecord();
        // Half the names must be 0, half 1; the variables named are spread
        // over the whole list (the last ones are the slowest to find by walking).
        area.number(conditions / 2).endRecord();
        for (int c = 0; c < conditions / 2; ++c)
            area.line(QStringLiteral("var%1").arg(variables - 1 - (a * 37 + c * 101) % variables));
        area.number(conditions - conditions / 2).endRecord();
        for (int c = 0; c < conditions - conditions / 2; ++c)
            area.line(QStringLiteral("var%1").arg(variables - 1 - (a * 53 + c * 97) % variables));
        writeFile(dir + QStringLiteral("/Areas/Busy/%1a.dat").arg(a), area.bytes());
    }
}

void AreaClickOnABusyFrame(benchmark::State& state)
{
    const int areas = static_cast<int>(state.range(0));
    const int conditions = static_cast<int>(state.range(1));
    const int variables = static_cast<int>(state.range(2));
    QTemporaryDir dir;
    makeGame(dir.path(), areas, conditions, variables);
    run::RuntimeOptions options;
    options.projectDir = dir.path();
    options.scripted = true;
    options.screen = QSize(640, 480);
    app::Runtime rt(options);
    rt.log.setEnabled(false);
    rt.frmWelcome().ClickButton(0);
    engine::Game& game = rt.game();
    for (auto _ : state)
        game.areas().AreaClick(1, 1);
    state.SetItemsProcessed(state.iterations() * areas * conditions);
}

} // namespace

BENCHMARK(AreaClickOnABusyFrame)
    ->Args({100, 10, 5000})
    ->Args({100, 10, 500})
    ->Args({50, 10, 5000})
    ->Args({100, 20, 5000})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
