// Scenes of the main window's own dialogs: the DPI value dialog, the colour
// palette, the on-screen display and a profile's linked programs.
#include "app/win32/colour_palette_dlg_win32.h"
#include "app/win32/dpi_value_dlg_win32.h"
#include "app/win32/osd_dlg_win32.h"
#include "app/win32/program_links_dlg_win32.h"
#include "gallery.h"
#include "settings/language.h"
#include "ui/ui_context.h"

namespace zeltra::gallery {
namespace {

// A test tool: the dialogs' models live until the process ends.
template <class T, class... Args>
T& Kept(Args&&... args) {
  return *new T(std::forward<Args>(args)...);
}

UiRect WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

}  // namespace

// Stage 2 at 3200 DPI of the default sensor.
ZELTRA_GALLERY_SCENE(dpi_value) {
  auto& model = Kept<DpiValueDialog>(DpiTableFor(kDefaultSensorCode), 2, 31);
  context.windows.push_back(OpenModeless(std::make_unique<win32::CDPIValueSettingDlg>(model)));
}

// Editing a stage colour: the value texts and the preview show it.
ZELTRA_GALLERY_SCENE(colour_palette) {
  ProfileRecord record;
  record.DPILevelIndicationValue[0] = Rgb(53, 160, 222);
  auto& palette = Kept<ColourPalette>(ColourPalette::ForDpiStage(record, 0));
  context.windows.push_back(OpenModeless(std::make_unique<win32::CColorPaletteDlg>(palette)));
}

ZELTRA_GALLERY_SCENE(osd) {
  auto& osd = Kept<win32::COSDDialog>();
  const OsdTexts texts{u"DPI-4", u"12000", u"1000Hz"};
  osd.Show(MakeOsdView(texts, Language().font.face, WorkArea(), context.scale), true);
  context.windows.push_back(osd.hwnd());
}

// Two programs linked, one by its full path, one by its file name alone;
// the middle row is free.
ZELTRA_GALLERY_SCENE(program_links) {
  ProfileRecord record;
  ResetProfile(record, 1, kDefaultSensorCode);
  record.SetSetting(kGameFile0, u"C:\\Program Files\\Alpha Studios\\Alpha Strike\\bin\\AlphaStrike-Win64.exe");
  record.SetSetting(kGameFile2, u"beta.exe");
  auto& model = Kept<ProgramLinksDialog>(record);
  context.windows.push_back(OpenModeless(std::make_unique<win32::CProgramLinksDlg>(model)));
}

}  // namespace zeltra::gallery
