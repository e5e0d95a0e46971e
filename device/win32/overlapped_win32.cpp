#include "device/win32/overlapped_win32.h"

#include <algorithm>

#include "base/win32/unique_handle_win32.h"

namespace zeltra::win32 {

struct OverlappedIo::Request {
  UniqueKernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OVERLAPPED overlapped{};
  std::vector<std::uint8_t> buffer;
  Request() { overlapped.hEvent = event.get(); }
  bool Done() const { return WaitForSingleObject(overlapped.hEvent, 0) == WAIT_OBJECT_0; }
};

OverlappedIo::OverlappedIo(HANDLE file) : file_(file) {}

OverlappedIo::~OverlappedIo() {
  std::lock_guard lock(mutex_);
  for (auto& request : abandoned_) {
    // Closing the file makes the driver end what it still holds; what it
    // keeps even then stays its own.
    if (WaitForSingleObject(request->overlapped.hEvent, kCancelGraceMs) != WAIT_OBJECT_0) (void)request.release();
  }
}

void OverlappedIo::Reap() {
  std::lock_guard lock(mutex_);
  abandoned_.erase(std::remove_if(abandoned_.begin(), abandoned_.end(), [](const auto& r) { return r->Done(); }),
                   abandoned_.end());
}

std::size_t OverlappedIo::Outstanding() {
  Reap();
  std::lock_guard lock(mutex_);
  return abandoned_.size();
}

OverlappedResult OverlappedIo::Run(std::vector<std::uint8_t>& buffer, const Start& start, DWORD timeoutMs,
                                   HANDLE cancel) {
  Reap();
  OverlappedResult result;
  auto request = std::make_unique<Request>();
  if (!request->overlapped.hEvent) {
    result.error = GetLastError();
    return result;
  }
  request->buffer = buffer;
  if (!start(request->buffer, request->overlapped) && GetLastError() != ERROR_IO_PENDING) {
    result.error = GetLastError();
    return result;
  }
  const HANDLE waits[2] = {request->overlapped.hEvent, cancel};
  const DWORD waited = WaitForMultipleObjects(cancel ? 2 : 1, waits, FALSE, timeoutMs);
  bool cancelled = false;
  if (waited != WAIT_OBJECT_0) {
    cancelled = waited == WAIT_OBJECT_0 + 1;
    CancelIoEx(file_, &request->overlapped);
    if (WaitForSingleObject(request->overlapped.hEvent, kCancelGraceMs) != WAIT_OBJECT_0) {
      std::lock_guard lock(mutex_);
      abandoned_.push_back(std::move(request));
      result.error = cancelled ? ERROR_OPERATION_ABORTED : WAIT_TIMEOUT;
      result.timedOut = !cancelled;
      return result;
    }
  }
  // Done, perhaps just before the cancel took: then it counts as done,
  // unless the caller asked to stop.
  DWORD bytes = 0;
  if (!GetOverlappedResult(file_, &request->overlapped, &bytes, FALSE) || cancelled) {
    const DWORD error = GetLastError();
    result.error = cancelled ? ERROR_OPERATION_ABORTED : error;
    result.timedOut = waited == WAIT_TIMEOUT && error == ERROR_OPERATION_ABORTED;
    return result;
  }
  result.ok = true;
  result.bytes = std::min<DWORD>(bytes, static_cast<DWORD>(request->buffer.size()));
  std::copy_n(request->buffer.begin(), result.bytes, buffer.begin());
  return result;
}

}  // namespace zeltra::win32
