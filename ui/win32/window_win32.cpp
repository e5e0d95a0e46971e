#include "ui/win32/window_win32.h"

#include <memory>

#include "base/win32/unique_handle_win32.h"

namespace zeltra::win32 {

namespace {

const wchar_t kObjectProperty[] = L"Zeltra.Window";

// The dialog whose window is being made on this thread: a dialog procedure
// meets its window before WM_INITDIALOG brings the creation parameter.
thread_local CDialog* t_creatingDialog = nullptr;
// How many modal loops run on this thread, so that a WM_QUIT is passed on
// only to loops that are still waiting for it.
thread_local int t_modalDepth = 0;

HWND g_mainWindow = nullptr;

// Results of these messages are returned directly by a dialog procedure
// instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
         message == WM_QUERYDRAGICON;
}

}  // namespace

CWnd::~CWnd() {
  if (hwnd_ != nullptr) {
    // The derived parts are gone: the window's last messages get the default handling.
    HWND hwnd = hwnd_;
    Detach();
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<CWnd*>(GetPropW(hwnd, kObjectProperty));
}

bool CWnd::PreTranslateMessage(MSG&) { return false; }

bool CWnd::RegisterWindowClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &CWnd::WindowProc;
  if (wc.hInstance == nullptr) wc.hInstance = GetModuleHandleW(nullptr);
  if (RegisterClassExW(&wc) != 0) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                    HWND parent, HMENU menu) {
  HWND hwnd = CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), this);
  return hwnd != nullptr;
}

MessageResult CWnd::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

void CWnd::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
  if (hwnd_ != nullptr && GetPropW(hwnd_, kObjectProperty) == this) RemovePropW(hwnd_, kObjectProperty);
  hwnd_ = nullptr;
}

MessageResult CWnd::SafeDispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return OnMessage(message, wParam, lParam);
  } catch (...) {
    return std::nullopt;
  }
}

LRESULT CALLBACK CWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (auto* self = static_cast<CWnd*>(create->lpCreateParams)) self->Attach(hwnd);
  }
  CWnd* self = FromHandle(hwnd);
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  MessageResult result = self->SafeDispatch(message, wParam, lParam);
  LRESULT value = result ? *result : DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->Detach();
    self->PostNcDestroy();  // may delete the object
  }
  return value;
}

// ---------------------------------------------------------------------------

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

void CDialog::SetMainWindow(HWND hwnd) { g_mainWindow = hwnd; }
HWND CDialog::MainWindow() { return g_mainWindow; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* object = FromHandle(hwnd);
  if (object == nullptr && t_creatingDialog != nullptr) {
    t_creatingDialog->Attach(hwnd);
    object = t_creatingDialog;
    t_creatingDialog = nullptr;
  }
  auto* self = dynamic_cast<CDialog*>(object);
  if (self == nullptr) return FALSE;

  MessageResult result = self->SafeDispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // A modal dialog destroyed behind its loop's back ends that loop.
    if (self->modal_ && !self->endRequested_) self->endRequested_ = true;
    self->Detach();
    self->PostNcDestroy();
    return FALSE;
  }
  if (!result) return FALSE;
  if (ReturnsDirectly(message)) return static_cast<INT_PTR>(*result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
  return TRUE;
}

HWND CDialog::CreateFromTemplate(HWND owner) {
  endRequested_ = false;
  result_ = IDCANCEL;
  CDialog* previous = t_creatingDialog;
  t_creatingDialog = this;
  HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                 &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  t_creatingDialog = previous;
  return hwnd;
}

INT_PTR CDialog::DoModal() {
  modal_ = true;
  HWND owner = parent_;
  if (owner == nullptr && g_mainWindow != nullptr && IsWindow(g_mainWindow)) owner = g_mainWindow;
  // Disable the owner before the dialog exists, so that no click reaches it
  // while the dialog initialises.
  bool disabledOwner = false;
  if (owner != nullptr && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    disabledOwner = true;
  }
  HWND hwnd = CreateFromTemplate(owner);
  if (hwnd == nullptr) {
    if (disabledOwner) EnableWindow(owner, TRUE);
    modal_ = false;
    return -1;
  }
  RunModalLoop();
  if (hwnd_ != nullptr) {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (disabledOwner) EnableWindow(owner, TRUE);
  if (owner != nullptr && IsWindow(owner) && hwnd_ != nullptr && GetActiveWindow() == hwnd_) SetActiveWindow(owner);
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  modal_ = false;
  return result_;
}

bool CDialog::Create() {
  modal_ = false;
  return CreateFromTemplate(parent_) != nullptr;
}

void CDialog::RunModalLoop() {
  ++t_modalDepth;
  while (!endRequested_) {
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) {
      endRequested_ = true;
      break;
    }
    if (got == 0) {
      result_ = IDCANCEL;
      endRequested_ = true;
      if (t_modalDepth > 1) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    DispatchOneMessage(msg);
  }
  --t_modalDepth;
}

void CDialog::EndDialog(INT_PTR result) {
  result_ = result;
  endRequested_ = true;
  if (!modal_) {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    return;
  }
  // Wakes the loop when this runs inside a sent message, which GetMessage
  // handles without returning.
  if (hwnd_ != nullptr) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool CDialog::PreTranslateMessage(MSG& msg) {
  if (hwnd_ == nullptr || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  return IsDialogMessageW(hwnd_, &msg) != 0;
}

MessageResult CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return 0;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return 0;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------

void DispatchOneMessage(MSG& msg) {
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (CWnd* window = CWnd::FromHandle(root)) {
    if (window->PreTranslateMessage(msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

namespace {

DWORD WINAPI WorkerEntry(LPVOID parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  try {
    (*body)();
  } catch (...) {
  }
  return 0;
}

}  // namespace

bool StartWorkerThread(std::function<void()> body, int priority) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  // The thread runs on by itself; only its handle goes at the end.
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, &WorkerEntry, owned.get(), CREATE_SUSPENDED, nullptr));
  if (!thread) return false;
  owned.release();
  SetThreadPriority(thread.get(), priority);
  ResumeThread(thread.get());
  return true;
}

}  // namespace zeltra::win32
