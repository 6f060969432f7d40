#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tamapick {

// The labels the program writes at run time, numbered as on the window. Label9 (the credit line)
// keeps its design-time caption and is never written.
enum class Label : std::uint8_t {
    Label1 = 1,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    Label8,
};

// The last of them: PerLabel sizes its arrays by it, and whatever walks every label stops there.
inline constexpr Label kLastLabel = Label::Label8;

inline constexpr int kNumberLabelCount = 6;

// The number label at a 1-based position: 1 is Label1 ... 6 is Label6.
constexpr Label numberLabel(int position) { return static_cast<Label>(position); }

constexpr int labelNumber(Label label) { return static_cast<int>(label); }

// One T for each label the program writes, looked up by the label.
template <typename T>
class PerLabel {
public:
    T& operator[](Label label) { return items_.at(slot(label)); }
    const T& operator[](Label label) const { return items_.at(slot(label)); }

private:
    static constexpr std::size_t slot(Label label) { return static_cast<std::size_t>(labelNumber(label) - 1); }
    std::array<T, labelNumber(kLastLabel)> items_{};
};

// What the draws and effects may ask of the platform. The Qt layer implements it for the
// program; tests use a simulated one, so a ten-second draw checks in milliseconds.
class Runtime {
public:
    virtual ~Runtime() = default;

    // The label's caption becomes exactly this UTF-8 text, replacing the old one whole.
    virtual void setCaption(Label label, std::string_view utf8) = 0;

    // Seeds the one random source of the process from the current time.
    virtual void seedRandomFromClock() = 0;
    // The next value r of the random source: 0 <= r < 1, evenly spread, never 1.
    virtual float nextRandom() = 0;

    // Seconds on a monotonic clock with an arbitrary origin: midnight and changes of the
    // wall clock do not move it.
    virtual double now() const = 0;
    // Dispatches the window events that are waiting (repaints, clicks, the close). When none
    // is waiting it may block until one arrives or until `deadline` (on the now() clock),
    // whichever comes first, so a pause never spins the processor.
    virtual void processPendingEvents(double deadline) = 0;

    // The platform's default alert sound, once.
    virtual void soundBeep() = 0;

    // True once the window is gone: pauses end at once and the draws unwind without
    // writing anything more.
    virtual bool closing() const = 0;
};

}  // namespace tamapick
