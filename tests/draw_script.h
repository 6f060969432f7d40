// The expected course of a draw, written as its step list, and a checker that walks the
// recorded caption writes of the simulated runtime against it, simulated times included.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "caption_checks.h"
#include "fake_runtime.h"

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
    int lowerbound;
    int upperbound;
    int lastLabelInUse;
    std::vector<Expect> steps;
};

// Steps and pause per reel, kurukuru to kurukuru6.
inline constexpr int kReelSteps[] = {31, 21, 11, 7, 4, 6};
inline constexpr double kReelPause[] = {0.01, 0.05, 0.1, 0.3, 0.5, 0.7};

// Returns "" when the writes (and the one beep) follow the script exactly, else what differed.
inline std::string checkDraw(const FakeRuntime& fake, const DrawScript& script) {
    const auto& writes = fake.writes();
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
                if ((write = take(step.label, "number")) &&
                    !isNumberIn(write->text, script.lowerbound, script.upperbound))
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
                        const bool inUse = label <= script.lastLabelInUse;
                        if ((write = take(label, "reel")) &&
                            (inUse ? !isNumberIn(write->text, script.lowerbound, script.upperbound)
                                   : !write->text.empty()))
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
    return {1,
            43,
            6,
            {text(8, "ロト6の予想です"), text(7, "抽選は毎週木曜日"), reel(1), number(1), reel(2), interimRemark(),
             number(2), reel(3), number(3), reel(4), number(4), interimRemark(), reel(5), number(5), reel(6), number(6),
             closingRemark()}};
}

inline DrawScript miniLotoScript() {
    return {1,
            31,
            5,
            {text(8, "ミニロトの予想です!"),
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
    return {0,
            9,
            3,
            {text(8, "Numbers3の予想だよ"), text(7, "抽選は毎週,月,水,金"), text(4, ""), text(5, ""), text(6, ""),
             reel(1), number(1), reel(2), number(2), reel(3), interimRemark(), number(3), closingRemark()}};
}

inline DrawScript numbers4Script() {
    return {0,
            9,
            4,
            {text(8, "Numbers4の予想です"), text(7, "抽選は毎週月・水・金"), text(5, ""), text(6, ""), reel(1),
             number(1), reel(2), number(2), reel(3), interimRemark(), number(3), reel(4), number(4), closingRemark()}};
}

}  // namespace tamapick::testing
