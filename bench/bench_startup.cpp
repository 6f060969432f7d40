// Start-up time (process start to first paint) and peak resident memory of the tamapick window,
// each over the same figure for a bare Qt Widgets window of the same size, alternating runs.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench_stats.h"

extern char** environ;

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Run {
    double startupMs;
    double peakKiB;
};

Run runProbe(const char* which) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::perror("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string path = PROBE_PATH;
    std::string arg = which;
    std::array<char*, 3> argv{path.data(), arg.data(), nullptr};
    pid_t pid = 0;
    const long long start = monotonicNs();
    posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    close(pipeFds[1]);
    std::string out;
    std::array<char, 256> buffer{};
    ssize_t n = 0;
    while ((n = read(pipeFds[0], buffer.data(), buffer.size())) > 0)
        out.append(buffer.data(), static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    long long paintedAt = 0;
    long peak = 0;
    if (std::sscanf(out.c_str(), "%lld %ld", &paintedAt, &peak) != 2) {
        std::fprintf(stderr, "probe %s printed nothing usable\n", which);
        return {0, 0};
    }
    return {static_cast<double>(paintedAt - start) / 1e6, static_cast<double>(peak)};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 && std::string(argv[1]) == "--quick" ? 3 : 15;
    runProbe("bare");  // warm the page cache and font caches for both
    runProbe("tamapick");
    std::vector<double> startupRatios;
    std::vector<double> memoryRatios;
    std::vector<double> ourMs;
    std::vector<double> bareMs;
    std::vector<double> ourKiB;
    std::vector<double> bareKiB;
    std::vector<double> settledMemoryRatios;
    std::vector<double> settledKiB;
    for (int i = 0; i < runs; ++i) {
        const Run bare = runProbe("bare");
        const Run ours = runProbe("tamapick");
        startupRatios.push_back(ours.startupMs / bare.startupMs);
        memoryRatios.push_back(ours.peakKiB / bare.peakKiB);
        ourMs.push_back(ours.startupMs);
        bareMs.push_back(bare.startupMs);
        ourKiB.push_back(ours.peakKiB);
        bareKiB.push_back(bare.peakKiB);
        // Without a sound server the sound library is loaded all the same, and fails to connect.
        const Run settled = runProbe("tamapick-settled");
        settledMemoryRatios.push_back(settled.peakKiB / bare.peakKiB);
        settledKiB.push_back(settled.peakKiB);
    }
    printHeader();
    const Summary startup = summarize(startupRatios);
    const Summary memory = summarize(memoryRatios);
    printRow("start-up to first paint: ours / bare window", startup, "<= 1.5", startup.median <= 1.5);
    printRow("peak resident memory: ours / bare window", memory, "<= 1.3", memory.median <= 1.3);
    const Summary settledMemory = summarize(settledMemoryRatios);
    printRow("same, 1.5 s into a first draw, sound connected", settledMemory, "<= 1.3", settledMemory.median <= 1.3);
    std::printf(
        "\nmedians: start-up %.1f ms (bare %.1f ms), peak RSS %.0f KiB (bare %.0f KiB), %.0f KiB 1.5 s into a draw\n",
        summarize(ourMs).median, summarize(bareMs).median, summarize(ourKiB).median, summarize(bareKiB).median,
        summarize(settledKiB).median);
    return 0;
}
