// A kernel handle (a file, a thread) that is closed when it goes out of
// scope, on every path out of the call that opened it.
#pragma once

#include <windows.h>

struct OwnedHandle {
  HANDLE handle;

  // CreateFile reports failure as INVALID_HANDLE_VALUE, others as null: both
  // become null here.
  explicit OwnedHandle(HANDLE h) : handle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~OwnedHandle() {
    if (handle) CloseHandle(handle);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  explicit operator bool() const { return handle != nullptr; }
  operator HANDLE() const { return handle; }
};
