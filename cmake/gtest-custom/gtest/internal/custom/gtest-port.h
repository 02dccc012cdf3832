// GoogleTest customisation for mingw-w64's win32 thread model, where the C++
// library has no std::mutex or std::condition_variable. GoogleTest needs them
// only for its Notification class; this one is a Win32 manual-reset event.
// Deps.cmake puts this folder ahead of GoogleTest's own include folder.
#ifndef TAVMIO_GTEST_CUSTOM_PORT_H
#define TAVMIO_GTEST_CUSTOM_PORT_H

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : m_hEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(m_hEvent); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(m_hEvent); }
  void WaitForNotification() { WaitForSingleObject(m_hEvent, INFINITE); }

 private:
  HANDLE m_hEvent;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1

#endif  // TAVMIO_GTEST_CUSTOM_PORT_H
