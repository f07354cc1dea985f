#pragma once
// Two pieces of work at once: the machine's second core takes one while this thread does the
// other.
#include <exception>
#include <thread>
#include <utility>

namespace kw {

// Runs `other` on a thread of its own while `here` runs on this one, and returns when both have
// ended. What either throws is thrown here once both have ended, `here`'s first.
template <typename Here, typename Other>
void bothAtOnce(Here&& here, Other&& other) {
  std::exception_ptr otherFailed;
  std::thread worker([&other, &otherFailed] {
    try {
      other();
    } catch (...) {
      otherFailed = std::current_exception();
    }
  });
  try {
    here();
  } catch (...) {
    worker.join();
    throw;
  }
  worker.join();
  if (otherFailed) std::rethrow_exception(otherFailed);
}

}  // namespace kw
