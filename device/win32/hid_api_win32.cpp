#include "device/win32/hid_api_win32.h"

#include "settings/win32/system_library_win32.h"

namespace zeltra::win32 {

namespace {

// Stand-ins for what hid.dll does not provide.
BOOLEAN Missing() {
  SetLastError(ERROR_PROC_NOT_FOUND);
  return FALSE;
}
void NTAPI NoHidGuid(LPGUID guid) {
  *guid = GUID{};
  Missing();
}
BOOLEAN NTAPI NoAttributes(HANDLE, PHIDD_ATTRIBUTES) { return Missing(); }
BOOLEAN NTAPI NoPreparsedData(HANDLE, PHIDP_PREPARSED_DATA*) { return Missing(); }
BOOLEAN NTAPI NoFreePreparsedData(PHIDP_PREPARSED_DATA) { return Missing(); }
NTSTATUS NTAPI NoCaps(PHIDP_PREPARSED_DATA, PHIDP_CAPS) {
  Missing();
  return HIDP_STATUS_INVALID_PREPARSED_DATA;
}

HidApi LoadHidApi() {
  SystemFunctions dll(LoadSystemLibrary(L"hid.dll"));
  HidApi api;
  api.HidD_GetHidGuid = dll.Take("HidD_GetHidGuid", &NoHidGuid);
  api.HidD_GetAttributes = dll.Take("HidD_GetAttributes", &NoAttributes);
  api.HidD_GetPreparsedData = dll.Take("HidD_GetPreparsedData", &NoPreparsedData);
  api.HidD_FreePreparsedData = dll.Take("HidD_FreePreparsedData", &NoFreePreparsedData);
  api.HidP_GetCaps = dll.Take("HidP_GetCaps", &NoCaps);
  api.loaded = dll.all();
  return api;
}

}  // namespace

const HidApi& Hid() {
  static const HidApi api = LoadHidApi();
  return api;
}

}  // namespace zeltra::win32
