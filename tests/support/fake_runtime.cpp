#include "fake_runtime.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tamapick {

FakeRuntime::FakeRuntime() : generator_(20030101) {}

void FakeRuntime::scriptRandom(std::vector<float> values) {
    scriptedRandom_.insert(scriptedRandom_.end(), values.begin(), values.end());
}

void FakeRuntime::seedGenerator(std::uint64_t seed) { generator_.reseed(seed); }

void FakeRuntime::scriptEvent(double at, std::function<void()> handler) {
    events_.emplace(std::make_pair(at, nextOrder_++), std::move(handler));
}

void FakeRuntime::scriptClose(double at) {
    scriptEvent(at, [this] { closing_ = true; });
}

const std::string& FakeRuntime::caption(Label label) const { return captions_[label]; }

bool FakeRuntime::dispatchNextDueBy(double limit) {
    if (events_.empty() || events_.begin()->first.first > limit) {
        return false;
    }
    auto node = events_.extract(events_.begin());
    if (node.key().first > now_) {
        now_ = node.key().first;
    }
    node.mapped()();
    return true;
}

void FakeRuntime::runEvents() {
    while (dispatchNextDueBy(std::numeric_limits<double>::infinity())) {
    }
}

void FakeRuntime::setCaption(Label label, std::string_view utf8) {
    if (closing_) {
        ++writesAfterClose_;
    }
    captions_[label] = std::string(utf8);
    if (keepLog_) writes_.push_back({now_, label, std::string(utf8)});
}

void FakeRuntime::seedRandomFromClock() {
    // Simulated runs must be repeatable: the seed stays the test's, only the call is counted.
    ++seedings_;
}

float FakeRuntime::nextRandom() {
    ++randomDraws_;
    if (!scriptedRandom_.empty()) {
        const float r = scriptedRandom_.front();
        scriptedRandom_.pop_front();
        return r;
    }
    return generator_.next();
}

void FakeRuntime::processPendingEvents(double deadline) {
    ++pumps_;
    if (dispatchNextDueBy(deadline)) {
        return;
    }
    // Nothing is due before the deadline: sleep through to it, or a tick towards it.
    now_ = std::max(now_, tick_ > 0 ? std::min(deadline, now_ + tick_) : deadline);
}

void FakeRuntime::soundBeep() {
    if (closing_) {
        ++beepsAfterClose_;
    }
    ++beepCount_;
    if (keepLog_) beeps_.push_back({now_, writes_.size()});
}

void FakeRuntime::drawStarted() {
    if (keepLog_) drawStarts_.push_back({now_, writes_.size(), beepCount_, captions_});
}

void FakeRuntime::drawEnded() {
    if (keepLog_) drawEnds_.push_back({now_, writes_.size(), beepCount_, captions_});
}

}  // namespace tamapick
