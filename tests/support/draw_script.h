// The expected course of a draw, written as its step list, and a checker that walks the
// recorded caption writes of the simulated runtime against it, simulated times included.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "caption_checks.h"
#include "fake_runtime.h"
#include "lotteries.h"

namespace tamapick::testing {

struct Expect {
    enum Kind { Text, Number, Reel, Pause, Interim, Closing } kind;
    int label = 0;     // Text, Number: the label; Reel: the reel (1 to 6)
    std::string text;  // Text
    double seconds = 0;
};

inline Expect text(int label, std::string caption) { return {Expect::Text, label, std::move(caption)}; }
inline Expect number(int label) { return {Expect::Number, label, {}}; }
inline Expect reel(int which) { return {Expect::Reel, which, {}}; }
inline Expect pause(double seconds) { return {Expect::Pause, 0, {}, seconds}; }
inline Expect interimRemark() { return {Expect::Interim, 7, {}}; }
inline Expect closingRemark() { return {Expect::Closing, 7, {}}; }

struct DrawScript {
    Lottery lottery;  // its bounds and the labels holding its result
    std::vector<Expect> steps;
};

// Returns "" when the writes (and the one beep) follow the script exactly, else what differed.
inline std::string checkDraw(const FakeRuntime& fake, const DrawScript& script) {
    const auto& writes = fake.writes();
    const LotteryFacts& facts = factsOf(script.lottery);
    std::size_t next = 0;
    double time = 0;
    std::ostringstream error;
    auto take = [&](int label, const char* what) -> const FakeRuntime::CaptionWrite* {
        if (next >= writes.size()) {
            error << "missing write " << next << " (" << what << " to Label" << label << ")";
            return nullptr;
        }
        const auto& write = writes[next];
        if (labelNumber(write.label) != label || std::abs(write.time - time) > 1e-9) {
            error << "write " << next << ": Label" << labelNumber(write.label) << " at " << write.time
                  << ", expected Label" << label << " at " << time << " (" << what << ")";
            return nullptr;
        }
        ++next;
        return &write;
    };
    auto fail = [&](const FakeRuntime::CaptionWrite& write, const char* what) {
        error << "write " << next - 1 << ": \"" << write.text << "\" is not " << what;
    };
    for (const Expect& step : script.steps) {
        const FakeRuntime::CaptionWrite* write = nullptr;
        switch (step.kind) {
            case Expect::Text:
                if ((write = take(step.label, "text")) && write->text != step.text) fail(*write, step.text.c_str());
                break;
            case Expect::Number:
                if ((write = take(step.label, "number")) && !isNumberIn(write->text, facts.lowest, facts.highest))
                    fail(*write, "a number in range");
                break;
            case Expect::Interim:
                if ((write = take(7, "interim remark")) && !isInterimRemark(write->text)) fail(*write, "interim");
                break;
            case Expect::Closing:
                if ((write = take(7, "closing remark")) && !isClosingRemark(write->text)) fail(*write, "closing");
                if (fake.beeps() != 1 || fake.beepLog()[0].writesBefore != next ||
                    std::abs(fake.beepLog()[0].time - time) > 1e-9) {
                    error << "expected one beep right after the closing remark";
                }
                break;
            case Expect::Pause:
                time += step.seconds;
                break;
            case Expect::Reel:
                for (int s = 0; s < kReelSteps[step.label - 1] && error.str().empty(); ++s) {
                    for (int label = step.label; label <= 6 && error.str().empty(); ++label) {
                        const bool inUse = label <= facts.numbers;
                        if ((write = take(label, "reel")) &&
                            (inUse ? !isNumberIn(write->text, facts.lowest, facts.highest) : !write->text.empty()))
                            fail(*write, inUse ? "a reel value" : "empty");
                    }
                    time += kReelPause[step.label - 1];
                }
                break;
        }
        if (!error.str().empty()) return error.str();
    }
    if (next != writes.size()) return "unexpected extra writes: " + std::to_string(writes.size() - next);
    if (std::abs(fake.now() - time) > 1e-9) return "the draw ended at " + std::to_string(fake.now());
    return {};
}

// The four draws, as their step lists give them.
inline DrawScript loto6Script() {
    return {Lottery::Loto6,
            {text(8, factsOf(Lottery::Loto6).headline), text(7, "抽選は毎週木曜日"), reel(1), number(1), reel(2),
             interimRemark(), number(2), reel(3), number(3), reel(4), number(4), interimRemark(), reel(5), number(5),
             reel(6), number(6), closingRemark()}};
}

inline DrawScript miniLotoScript() {
    return {Lottery::MiniLoto,
            {text(8, factsOf(Lottery::MiniLoto).headline),
             text(6, ""),
             text(7, "チャンスは毎週チューズディ!"),
             reel(1),
             pause(0.1),
             number(1),
             reel(2),
             pause(0.1),
             number(2),
             reel(3),
             pause(0.5),
             interimRemark(),
             number(3),
             reel(4),
             pause(0.8),
             interimRemark(),
             number(4),
             reel(5),
             pause(1.0),
             number(5),
             closingRemark()}};
}

inline DrawScript numbers3Script() {
    return {
        Lottery::Numbers3,
        {text(8, factsOf(Lottery::Numbers3).headline), text(7, "抽選は毎週,月,水,金"), text(4, ""), text(5, ""),
         text(6, ""), reel(1), number(1), reel(2), number(2), reel(3), interimRemark(), number(3), closingRemark()}};
}

inline DrawScript numbers4Script() {
    return {Lottery::Numbers4,
            {text(8, factsOf(Lottery::Numbers4).headline), text(7, "抽選は毎週月・水・金"), text(5, ""), text(6, ""),
             reel(1), number(1), reel(2), number(2), reel(3), interimRemark(), number(3), reel(4), number(4),
             closingRemark()}};
}

}  // namespace tamapick::testing
