#pragma once

#include <csignal>
#include <utility>

namespace cadrix {

// Reading a mapped file raises SIGBUS where the system cannot deliver a byte:
// the file was cut short after it was mapped, or the disk failed. While a
// BusGuard lives, such a signal during a step run by ReadMapped ends that step
// rather than the program; at other times the signal does what it did before.
class BusGuard {
public:
    BusGuard();
    ~BusGuard();
    BusGuard(const BusGuard&) = delete;
    BusGuard& operator=(const BusGuard&) = delete;

private:
    struct sigaction m_previous {};
};

namespace detail {
bool RunReadingMapped(void (*step)(void*), void* context);
}

// Runs `step`, which reads mapped bytes; false when one could not be read and
// the step was cut off. The step must hold nothing a jump out of it would
// leave half-done: no allocation, no object with a destructor of its own.
template <class Step>
bool ReadMapped(Step&& step) {
    return detail::RunReadingMapped([](void* context) { (*static_cast<Step*>(context))(); }, static_cast<void*>(&step));
}

}  // namespace cadrix
