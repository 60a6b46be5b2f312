#include "import/mapped_read.h"

#include <csetjmp>

namespace cadrix {

namespace {

// The step that is reading mapped bytes on this thread, if any.
thread_local sigjmp_buf* t_step = nullptr;
// What the signal did before the guard, for faults that are not ours.
struct sigaction g_previous {};

void OnBusError(int signal, siginfo_t*, void*) {
    if (t_step)
        siglongjmp(*t_step, 1);
    // Not a mapped read of ours: what the signal did before takes it when
    // the faulting access is made again on return.
    ::sigaction(signal, &g_previous, nullptr);
}

}  // namespace

BusGuard::BusGuard() {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    // Not blocked while handled: the jump leaves the handler for good.
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &m_previous);
    g_previous = m_previous;
}

BusGuard::~BusGuard() { ::sigaction(SIGBUS, &m_previous, nullptr); }

namespace detail {

bool RunReadingMapped(void (*step)(void*), void* context) {
    sigjmp_buf jump;
    sigjmp_buf* const outer = t_step;
    if (sigsetjmp(jump, 0) != 0) {
        t_step = outer;
        return false;
    }
    t_step = &jump;
    step(context);
    t_step = outer;
    return true;
}

}  // namespace detail

}  // namespace cadrix
