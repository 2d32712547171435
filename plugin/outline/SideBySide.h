#pragma once
// Two pieces of work at once: the second on a thread of its own, the first on the caller's.
// Where no thread can be started (the system's limit), both run on the caller's thread, one
// after the other, so the answer never depends on threads being available.
#include <exception>
#include <system_error>
#include <thread>

namespace veltrace {

template <typename First, typename Second>
void runSideBySide(First&& first, Second&& second) {
  std::exception_ptr secondFailure;
  std::thread helper;
  try {
    helper = std::thread([&] {
      try {
        second();
      } catch (...) {
        secondFailure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    first();
    second();
    return;
  }
  try {
    first();
  } catch (...) {
    helper.join();
    throw;
  }
  helper.join();
  if (secondFailure) std::rethrow_exception(secondFailure);
}

}  // namespace veltrace
