// One owner for every handle the system hands out: the owner closes it when
// it goes, moves it along and never copies it. This header needs nothing but
// <windows.h>, so that every layer's Windows code may use it: the HID
// backend and its listeners, the single-instance mutex, worker threads, the
// command line's argument block. The GDI owners build on it in
// ui/win32/scoped_win32.h.
#pragma once

#include <windows.h>

namespace zeltra::win32 {

// Traits: the handle type, the value that means "none" and how to let it go.
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return Traits::Valid(handle_); }

  // Closes what it holds and takes `handle` instead.
  void reset(Handle handle = Traits::kNone) noexcept {
    const Handle old = handle_;
    handle_ = handle;
    if (Traits::Valid(old)) Traits::Close(old);
  }
  // Gives the handle up without closing it.
  Handle release() noexcept {
    const Handle handle = handle_;
    handle_ = Traits::kNone;
    return handle;
  }

 private:
  Handle handle_ = Traits::kNone;
};

// Handles that are null when there is none and go with one call.
template <class H, auto Release>
struct NullableHandleTraits {
  using Handle = H;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle handle) noexcept { return handle != nullptr; }
  static void Close(Handle handle) noexcept { Release(handle); }
};

// Kernel objects (mutexes, threads, events, files and devices). Creation
// functions answer failure with null or with INVALID_HANDLE_VALUE; neither is
// closed.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Memory the system allocated with LocalAlloc for the caller (the argument
// block of CommandLineToArgvW, FormatMessage's text).
template <class Pointer>
struct LocalMemoryTraits {
  using Handle = Pointer;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle memory) noexcept { return memory != nullptr; }
  static void Close(Handle memory) noexcept { LocalFree(reinterpret_cast<HLOCAL>(memory)); }
};
template <class Pointer>
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits<Pointer>>;

// Memory from GlobalAlloc that no one else took over (a stream on it that
// does not free it, a clipboard block the system refused).
using UniqueGlobalMemory = UniqueHandle<NullableHandleTraits<HGLOBAL, GlobalFree>>;

// A window's registration for device arrivals and removals.
using UniqueDeviceNotification = UniqueHandle<NullableHandleTraits<HDEVNOTIFY, UnregisterDeviceNotification>>;

}  // namespace zeltra::win32
