// Each draw run for real in the window (offscreen), clicked as a user would: wall time from
// the click to the end of the draw over its nominal duration; process CPU over wall time during
// Loto 6 draws; and the overshoot of single pauses.
#include <sys/resource.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "bench_stats.h"
#include "lotteries.h"
#include "primitives/primitives.h"
#include "window_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

using tamapick::testing::factsOf;
using tamapick::testing::Lottery;

struct DrawCase {
    Lottery lottery;
    int repetitions;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tamapick::testing::WindowFixture window;
    if (!window.open()) return 1;

    const bool quick = argc > 1 && std::string_view(argv[1]) == "--quick";
    const DrawCase cases[] = {
        {Lottery::Numbers3, quick ? 1 : 5},
        {Lottery::Numbers4, quick ? 1 : 5},
        {Lottery::MiniLoto, quick ? 1 : 3},
        {Lottery::Loto6, quick ? 1 : 3},
    };

    printHeader();
    std::vector<double> cpuRatios;
    for (const DrawCase& c : cases) {
        const auto& facts = factsOf(c.lottery);
        QPushButton* button = window.button(facts.button);
        std::vector<double> ratios;
        for (int rep = 0; rep < c.repetitions; ++rep) {
            const double cpuStart = cpuSeconds();
            const auto start = Clock::now();
            QTest::mouseClick(button, Qt::LeftButton);  // returns once the draw has ended
            const double wall = std::chrono::duration<double>(Clock::now() - start).count();
            ratios.push_back(wall / facts.nominalSeconds);
            if (c.lottery == Lottery::Loto6) cpuRatios.push_back((cpuSeconds() - cpuStart) / wall);
        }
        const Summary s = summarize(ratios);
        const QByteArray label =
            QStringLiteral("%1 draw: wall / %2 s").arg(QLatin1String(facts.name)).arg(facts.nominalSeconds).toUtf8();
        printRow(label.constData(), s, "<= 1.003", s.median <= 1.003);
    }
    const Summary cpu = summarize(cpuRatios);
    printRow("CPU during Loto 6: cpu s / wall s", cpu, "<= 0.01", cpu.median <= 0.01);

    // Single pauses of a reel step's length: how late each one returns, in milliseconds.
    std::vector<double> overshoot;
    for (int i = 0; i < (quick ? 50 : 300); ++i) {
        const auto start = Clock::now();
        tamapick::PauseSeconds(window->runtime(), 0.01);
        overshoot.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() - 10.0);
    }
    const Summary late = summarize(overshoot);
    std::printf("\npause of 0.01 s, overshoot in ms: median %.3f, min %.3f, max %.3f\n", late.median, late.min,
                late.max);
    return 0;
}
