#pragma once
// One piece of work done in two halves at once: one on the calling thread, the other on a thread of its
// own, which is always joined before the caller goes on. A half that throws cannot end the program (as a
// thread left running or an exception leaving a thread would) nor be taken for a success: its exception
// reaches the caller once both halves are over.
#include <exception>
#include <system_error>
#include <thread>

namespace qr {

// Runs `here` on this thread and `beside` on another; true when both succeed. Where no thread can be
// started, `alone` does the whole work here instead. An exception of either half is thrown on after both
// have finished (the one of `here` first).
template <typename Here, typename Beside, typename Alone>
bool WorkInTwo(Here here, Beside beside, Alone alone) {
  bool besideDone = false;
  std::exception_ptr besideFailure;
  std::jthread thread;  // joined when it goes out of scope, whatever `here` did
  try {
    thread = std::jthread([&] {
      try {
        besideDone = beside();
      } catch (...) {
        besideFailure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    return alone();
  }
  const bool hereDone = here();
  thread.join();
  if (besideFailure) std::rethrow_exception(besideFailure);
  return hereDone && besideDone;
}

}  // namespace qr
