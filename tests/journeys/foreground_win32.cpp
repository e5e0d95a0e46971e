// zeltra-foreground [desktop]: what the system's window manager does when a
// window comes to the front, for the journeys under Wine: EVENT_SYSTEM_FOREGROUND
// is raised for the window in front, or with "desktop" for the desktop
// window, and its program's path printed. (Wine 8.0 changes the foreground
// but raises no EVENT_SYSTEM_FOREGROUND; it does pass the events programs
// raise on to other programs' hooks. Its desktop window cannot take the
// foreground: after SetForegroundWindow on it nothing is in front.)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc > 2 || (argc == 2 && std::wcscmp(argv[1], L"desktop") != 0)) {
    std::fputs("usage: zeltra-foreground [desktop]\n", stderr);
    return 2;
  }
  HWND front = argc == 2 ? GetDesktopWindow() : GetForegroundWindow();
  if (front == nullptr) {
    std::fputs("no window is in front\n", stderr);
    return 1;
  }
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, front, OBJID_WINDOW, CHILDID_SELF);
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  const bool named = handle != nullptr && QueryFullProcessImageNameW(handle, 0, path.data(), &length);
  if (handle != nullptr) CloseHandle(handle);
  std::wprintf(L"%ls\n", named ? path.c_str() : L"?");
  return 0;
}
