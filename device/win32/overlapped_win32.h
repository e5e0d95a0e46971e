// One overlapped request with a limit: issued, waited for up to a timeout
// or until a cancel event is set, then cancelled (CancelIoEx). A driver that
// does not give a cancelled request back within a short grace keeps its
// buffer, which is then left to it (never freed under it) instead of
// holding the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zeltra::win32 {

struct OverlappedResult {
  bool ok = false;
  DWORD bytes = 0;
  DWORD error = ERROR_SUCCESS;  // when not ok
  bool timedOut = false;        // not ok because the limit passed
};

class OverlappedIo {
 public:
  // Issues the request on `buffer` (the request's own copy) with `overlapped`;
  // returns what ReadFile or DeviceIoControl returned.
  using Start = std::function<BOOL(std::vector<std::uint8_t>& buffer, OVERLAPPED& overlapped)>;

  // How long a cancelled request may take to come back.
  static constexpr DWORD kCancelGraceMs = 500;

  explicit OverlappedIo(HANDLE file);
  // Call after the file handle is closed: requests still out are given up.
  ~OverlappedIo();
  OverlappedIo(const OverlappedIo&) = delete;
  OverlappedIo& operator=(const OverlappedIo&) = delete;

  // Runs one request on a copy of `buffer` and copies the result back into
  // it on success. `timeoutMs` may be INFINITE; `cancel` (may be null) ends
  // the wait as a timeout does, failing with ERROR_OPERATION_ABORTED.
  OverlappedResult Run(std::vector<std::uint8_t>& buffer, const Start& start, DWORD timeoutMs,
                       HANDLE cancel = nullptr);

  // Requests given up on and not yet back.
  std::size_t Outstanding();

 private:
  struct Request;
  void Reap();

  HANDLE file_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Request>> abandoned_;
};

}  // namespace zeltra::win32
