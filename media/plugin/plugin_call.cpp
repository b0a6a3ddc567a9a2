#include "media/plugin/plugin_call.h"

#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>

#include <mutex>

namespace Plugin {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kFaultSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];

// One guarded call on this thread. Written by the signal handler, read after the jump back.
struct GuardFrame {
  sigjmp_buf jump;
  GuardFrame* previous = nullptr;
  volatile sig_atomic_t signal = 0;
  const void* volatile address = nullptr;
};

thread_local GuardFrame* tGuard = nullptr;

// The handlers that were installed before ours, one per fault signal; written once, before
// ours is installed, and only read afterwards.
struct sigaction gPrevious[kFaultSignalCount];

const struct sigaction* previousAction(int signal) {
  for (int i = 0; i < kFaultSignalCount; ++i)
    if (kFaultSignals[i] == signal) return &gPrevious[i];
  return nullptr;
}

// The address of the faulting instruction: it names the module that crashed. The data
// address the fault was about is of no use for that.
const void* faultingInstruction(const siginfo_t* info, void* context) {
  const auto* user = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  if (user) return reinterpret_cast<const void*>(user->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
  if (user) return reinterpret_cast<const void*>(user->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
  if (user) return reinterpret_cast<const void*>(user->uc_mcontext.pc);
#endif
  return info ? info->si_addr : nullptr;
}

// Hands a signal that is not ours to the handler before us. A default or ignored action is
// put back and the fault happens again when the handler returns (a fault re-executes its
// instruction; a sent signal is raised anew), so the program ends as it would have.
void forward(int signal, siginfo_t* info, void* context) {
  const struct sigaction* previous = previousAction(signal);
  if (previous && (previous->sa_flags & SA_SIGINFO) && previous->sa_sigaction) {
    previous->sa_sigaction(signal, info, context);
    return;
  }
  if (previous && previous->sa_handler != SIG_DFL && previous->sa_handler != SIG_IGN) {
    previous->sa_handler(signal);
    return;
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  if (!info || info->si_code <= 0) ::raise(signal);
}

// Runs on the faulting thread, possibly on its alternate signal stack (a plug-in that
// overflowed its stack); it only reads and writes this thread's guard and jumps.
void onFault(int signal, siginfo_t* info, void* context) {
  GuardFrame* frame = tGuard;
  // si_code > 0: raised by the processor for this thread's own instruction, not sent.
  if (frame && info && info->si_code > 0) {
    frame->signal = signal;
    frame->address = faultingInstruction(info, context);
    siglongjmp(frame->jump, 1);
  }
  forward(signal, info, context);
}

void installHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = onFault;
    // No deferral: a fault inside a guarded call's handler chain must still be caught; the
    // alternate stack, where a thread has one, lets a stack overflow be caught too.
    action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    // Every previous handler is recorded before ours can run and look for it.
    for (int i = 0; i < kFaultSignalCount; ++i)
      ::sigaction(kFaultSignals[i], nullptr, &gPrevious[i]);
    for (int i = 0; i < kFaultSignalCount; ++i) ::sigaction(kFaultSignals[i], &action, nullptr);
  });
}

}  // namespace

namespace PluginCallDetail {

bool runGuarded(void (*body)(void*), void* context, System::StructuredExceptionReport& report) {
  installHandler();
  GuardFrame frame;
  frame.previous = tGuard;
  // The signal mask is saved and put back by the jump: a plug-in that blocked signals does
  // not leave this thread with them blocked.
  if (sigsetjmp(frame.jump, 1) == 0) {
    tGuard = &frame;
    try {
      body(context);
    } catch (...) {
      tGuard = frame.previous;
      throw;
    }
    tGuard = frame.previous;
    return true;
  }
  tGuard = frame.previous;
  System::getExceptionModule(frame.address, static_cast<uint32_t>(frame.signal), report);
  return false;
}

}  // namespace PluginCallDetail

PluginCallbackScope::PluginCallbackScope() : saved_(tGuard) { tGuard = nullptr; }

PluginCallbackScope::~PluginCallbackScope() { tGuard = static_cast<GuardFrame*>(saved_); }

}  // namespace Plugin
