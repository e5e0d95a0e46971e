// The small window layer the program is built on: an object per window with
// one shared window procedure that dispatches to virtual handlers, dialogs
// from templates with their own modal loop, and worker-thread start.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace zeltra::win32 {

// A handler's answer: a result, or nothing for the default handling.
using MessageResult = std::optional<LRESULT>;

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return hwnd_; }
  // The object of a window made by this layer, or null.
  static CWnd* FromHandle(HWND hwnd);

  // Called by the message loop for every message whose top-level window is
  // this one, before translation; true = consumed.
  virtual bool PreTranslateMessage(MSG& msg);

  // Registers a window class whose windows are served by this layer; the
  // procedure field of `wc` is filled in. Registering an existing class again
  // is not an error.
  static bool RegisterWindowClass(WNDCLASSEXW wc);

 protected:
  // Creates a window of a class registered above and ties it to this object.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                HWND parent, HMENU menu = nullptr);

  // The message map: every message of the window comes here first.
  virtual MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After the window is gone (the object may delete itself here).
  virtual void PostNcDestroy() {}

  void Attach(HWND hwnd);
  void Detach();

  HWND hwnd_ = nullptr;

 private:
  friend class CDialog;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Runs OnMessage; an exception escaping a handler counts as "not handled"
  // rather than crossing the system's window procedure.
  MessageResult SafeDispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

// A dialog made from a dialog template of the executable.
class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, HWND parent);

  // Creates the dialog, disables its owner and runs a message loop until
  // EndDialog; returns its result, or -1 when the window could not be made.
  // A WM_QUIT ends the loop with IDCANCEL and is passed on to any loop
  // around this one.
  INT_PTR DoModal();
  // Creates the dialog without a loop of its own, owned by its parent only;
  // EndDialog destroys it.
  bool Create();
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }
  bool EndRequested() const { return endRequested_; }

  bool PreTranslateMessage(MSG& msg) override;

  // The owner of modal dialogs created without a parent (the main window).
  static void SetMainWindow(HWND hwnd);
  static HWND MainWindow();

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  UINT templateId_;
  HWND parent_;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND CreateFromTemplate(HWND owner);
  void RunModalLoop();

  bool modal_ = false;
  bool endRequested_ = false;
  INT_PTR result_ = IDCANCEL;
};

// Runs one message through the layer's pre-translation, then dispatches it.
void DispatchOneMessage(MSG& msg);

// Starts `body` on a new thread at the given priority (THREAD_PRIORITY_*).
// Exceptions from the body end the thread quietly.
bool StartWorkerThread(std::function<void()> body, int priority);

}  // namespace zeltra::win32
