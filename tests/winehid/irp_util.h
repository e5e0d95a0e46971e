// Small helpers of the bus driver around IRPs: completing one, a queue of
// parked IRPs that each can be cancelled, and pool copies of the strings the
// plug-and-play manager asks for (it frees them).
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

#include "ddk.h"

namespace zeltra::winehid {

inline NTSTATUS Complete(IRP* irp, NTSTATUS status, ULONG_PTR information = 0) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

// The IRP as it came, for the requests a device leaves alone.
inline NTSTATUS CompleteUnchanged(IRP* irp) { return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information); }

// A copy in paged pool; a multi-string (one more terminating zero) when `multi`.
inline wchar_t* PoolString(const std::wstring& text, bool multi) {
  const std::size_t units = text.size() + (multi ? 2 : 1);
  auto* copy = static_cast<wchar_t*>(ExAllocatePool(PagedPool, units * sizeof(wchar_t)));
  if (!copy) return nullptr;
  std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (multi) copy[units - 1] = 0;
  return copy;
}

inline NTSTATUS CompleteWithString(IRP* irp, const std::wstring& text, bool multi) {
  wchar_t* copy = PoolString(text, multi);
  if (!copy) return Complete(irp, STATUS_NO_MEMORY);
  return Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(copy));
}

// Device relations holding `devices` (each referenced, as the manager
// dereferences them); nothing when out of memory.
template <typename Devices>
DEVICE_RELATIONS* PoolRelations(const Devices& devices) {
  const std::size_t size = sizeof(DEVICE_RELATIONS) + std::size(devices) * sizeof(DEVICE_OBJECT*);
  auto* relations = static_cast<DEVICE_RELATIONS*>(ExAllocatePool(PagedPool, size));
  if (!relations) return nullptr;
  relations->Count = 0;
  for (DEVICE_OBJECT* device : devices) {
    ObReferenceObject(device);
    relations->Objects[relations->Count++] = device;
  }
  return relations;
}

// IRPs parked until something completes them; each can be cancelled.
class IrpQueue {
 public:
  // STATUS_PENDING, or STATUS_CANCELLED when the IRP was cancelled already.
  NTSTATUS Park(IRP* irp) {
    std::lock_guard lock(mutex_);
    irp->Tail.Overlay.DriverContext[0] = this;
    IoSetCancelRoutine(irp, &IrpQueue::Cancel);
    if (irp->Cancel && IoSetCancelRoutine(irp, nullptr)) return STATUS_CANCELLED;
    IoMarkIrpPending(irp);
    irps_.push_back(irp);
    return STATUS_PENDING;
  }

  // The oldest parked IRP that is not being cancelled, or nothing.
  IRP* Take() {
    std::lock_guard lock(mutex_);
    while (!irps_.empty()) {
      IRP* irp = irps_.front();
      irps_.pop_front();
      // A cancel routine already under way completes the IRP itself.
      if (IoSetCancelRoutine(irp, nullptr)) return irp;
    }
    return nullptr;
  }

 private:
  static void NTAPI Cancel(DEVICE_OBJECT*, IRP* irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    auto* self = static_cast<IrpQueue*>(irp->Tail.Overlay.DriverContext[0]);
    {
      std::lock_guard lock(self->mutex_);
      std::erase(self->irps_, irp);
    }
    Complete(irp, STATUS_CANCELLED);
  }

  std::mutex mutex_;
  std::deque<IRP*> irps_;
};

}  // namespace zeltra::winehid
