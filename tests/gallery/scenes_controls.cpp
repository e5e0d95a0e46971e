// Every windowless control in its looks: normal, over, pressed or checked,
// the lists with open and closed folders and every kind of action, sliders,
// the power dial, DPI gauges and radios, and the battery's modes.
#include "gallery.h"
#include "app/page_state.h"
#include "macro/macro_library.h"
#include "macro/macro_manager.h"
#include "macro/win32/macro_lists_win32.h"
#include "ui/control_selection.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::gallery {
namespace {

using namespace win32;

constexpr int kDesignWidth = 900;
constexpr int kDesignHeight = 566;

RECT At(int x, int y, int w, int h) { return RECT{Scaled(x), Scaled(y), Scaled(x + w), Scaled(y + h)}; }
std::filesystem::path Skin(const wchar_t* name) { return SkinPath(name); }

// Puts a control into its over or pressed look as the mouse would.
void Hover(CControlBase& c) {
  const RECT r = c.GetRect();
  c.OnMouseMove(0, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
void Press(CControlBase& c) {
  Hover(c);
  const RECT r = c.GetRect();
  c.OnLButtonDown(0, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

MacroLibrary& SampleLibrary() {
  static MacroLibrary library;
  using L = MacroLocation;
  if (library.ItemCount() > 0) return library;
  library.PutFolderItem(u"Games", L::At(0), true);
  library.PutFolderItem(u"Shooter", L::At(0, 0), true);
  library.PutMacroItem(u"Burst fire", L::At(0, 0, 0), std::make_unique<Macro>(u"Burst fire"));
  library.PutMacroItem(u"Reload", L::At(0, 0, 1), std::make_unique<Macro>(u"Reload"));
  library.PutFolderItem(u"Strategy", L::At(0, 1), false);
  library.PutMacroItem(u"Build", L::At(0, 1, 0), std::make_unique<Macro>(u"Build"));
  library.PutMacroItem(u"Spam click", L::At(0, 2), std::make_unique<Macro>(u"Spam click"));
  library.PutFolderItem(u"Office", L::At(1), false);
  library.PutMacroItem(u"Copy", L::At(1, 0), std::make_unique<Macro>(u"Copy"));
  library.PutMacroItem(u"A macro whose name is far too long for the list", L::At(2),
                       std::make_unique<Macro>(u"long"));
  library.PutMacroItem(u"Paste", L::At(3), std::make_unique<Macro>(u"Paste"));
  return library;
}

Macro& SampleMacro() {
  static Macro macro(u"Sample");
  if (macro.MacroActionNum > 0) return macro;
  const MacroAction actions[] = {
      MacroAction::Event(0x41, false),       MacroAction::Delay(50),
      MacroAction::Event(0x41, true),        MacroAction::Delay(1200),
      MacroAction::Event(0xE5, false, 12),   MacroAction::Event(0xE6, false, 0xFC),
      MacroAction::Event(0xE7, false, 1),    MacroAction::Event(0xE7, false, 0xFE),
      MacroAction::Event(0xE0, false),       MacroAction::Delay(100),
      MacroAction::Event(0xE0, true),        MacroAction::Event(0xA2, false),
      MacroAction::Event(0xA2, true),
  };
  for (const auto& a : actions) macro.InsertAction(static_cast<int>(macro.MacroActionNum), a);
  return macro;
}

class ControlsGalleryDlg : public CDlgBase {
 public:
  ControlsGalleryDlg() : CDlgBase(IDD_SMALL_DIALOG, nullptr) {
    width_ = Scaled(kDesignWidth);
    height_ = Scaled(kDesignHeight);
    registersOpenDialog_ = false;
  }

 protected:
  template <class T>
  T* Add(std::unique_ptr<T> control) {
    return AddControl(0, std::move(control));
  }
  void Label(int x, int y, int w, const char16_t* text) {
    auto label = std::make_unique<CStaticText>(hwnd_, 2600, At(x, y, w, 16), u"", RGB(82, 146, 254),
                                               DT_LEFT | DT_SINGLELINE);
    label->SetCaption(text);
    Add(std::move(label));
  }

  void CreateControls(const RECT&) override {
    ResetControlSelections();
    Buttons();
    Radios();
    Gauges();
    Lists();
  }

  void Buttons() {
    Label(16, 8, 380, u"CImageButton: normal, over, pressed");
    CImageButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<CImageButton>(hwnd_, 2010 + i, At(16 + i * 75, 26, 65, 23), u"OK");
      b->SetNormalImage(Skin(L"skins\\button2_nr.png"));
      b->SetOverImage(Skin(L"skins\\button2_ov.png"));
      buttons[i] = Add(std::move(b));
    }
    Hover(*buttons[1]);
    Press(*buttons[2]);

    Label(16, 60, 420, u"CCheckButton: boxes, record toggle, headers (closed, over, open)");
    for (int i = 0; i < 3; ++i) {
      auto c = std::make_unique<CCheckButton>(hwnd_, 2005 + i, At(16 + i * 20, 82, 11, 11), u"");
      c->SetNormalImage(Skin(L"skins\\check_nr.png"));
      c->SetOverImage(Skin(L"skins\\check_ov.png"));
      c->SetCheckedImage(Skin(L"skins\\check_dn.png"));
      CCheckButton* box = Add(std::move(c));
      if (i == 1) Hover(*box);
      if (i == 2) box->SetChecked(true);
    }
    for (int i = 0; i < 2; ++i) {
      auto t = std::make_unique<CCheckButton>(hwnd_, 2018, At(90 + i * 100, 78, 90, 18), u"", DT_LEFT);
      t->SetNormalImage(Skin(L"skins\\macro_record_nr.png"));
      t->SetOverImage(Skin(L"skins\\macro_record_nr.png"));
      t->SetCheckedImage(Skin(L"skins\\macro_record_dn.png"));
      t->SetLookTexts(u"Record", u"Stop");
      t->SetCheckedTextColour(kTextHover);
      t->SetPadding(Scaled(18), 0);
      t->SetChecked(i == 1);
      Add(std::move(t));
    }
    const char16_t* headers[] = {u"Buttons", u"Lighting", u"Performance"};
    for (int i = 0; i < 3; ++i) {
      auto h = std::make_unique<CCheckButton>(hwnd_, 3001 + i, At(16 + i * 130, 104, 125, 26), headers[i], DT_LEFT);
      h->SetNormalImage(Skin(L"skins\\header_nr.png"));
      h->SetOverImage(Skin(L"skins\\header_ov.png"));
      h->SetCheckedImage(Skin(L"skins\\header_ov.png"));
      h->SetCheckedTextColour(kTextHover);
      h->SetPadding(Scaled(14), Scaled(20));
      CCheckButton* header = Add(std::move(h));
      if (i == 1) Hover(*header);
      if (i == 2) header->SetChecked(true);
    }

    Label(16, 140, 380, u"CComboButton: normal, over, popup open");
    const char16_t* combos[] = {u"Left click", u"Forward", u"A macro with a long name"};
    for (int i = 0; i < 3; ++i) {
      auto c = std::make_unique<CComboButton>(hwnd_, 2013 + i, At(16 + i * 130, 158, 125, 26), combos[i], 0x48E);
      c->SetNormalImage(Skin(L"skins\\combo2_nr.png"));
      c->SetOverImage(Skin(L"skins\\combo2_ov.png"));
      c->SetPadding(Scaled(8), Scaled(28));
      CComboButton* combo = Add(std::move(c));
      if (i == 1) Hover(*combo);
      if (i == 2) combo->SetPopupOpen(true);
    }

    Label(16, 194, 380, u"CColorSelectButton, CColorSelectCheckButton (off, on)");
    Add(std::make_unique<CColorSelectButton>(hwnd_, 3170, At(16, 212, 26, 26), u"", At(18, 214, 22, 22),
                                             RGB(255, 140, 0)));
    const COLORREF colours[] = {RGB(230, 40, 40), RGB(40, 110, 255), RGB(0, 255, 0), RGB(255, 255, 255)};
    for (int i = 0; i < 4; ++i) {
      auto c = std::make_unique<CColorSelectCheckButton>(hwnd_, 3180 + i, At(60 + i * 34, 212, 26, 26), u"",
                                                         colours[i]);
      c->SetNormalImage(Skin(L"skins\\color_select_nr.png"));
      c->SetCheckedImage(Skin(L"skins\\color_select_check.png"));
      c->SetChecked(i % 2);
      Add(std::move(c));
    }
  }

  void Radios() {
    Label(16, 248, 380, u"CRadioButton: normal, over, checked; direction; report rate");
    SetRadioSelectionWord(0x8000 | 0x800 | 0x40000);
    const RadioBit repeatRules[] = {kRepeatRuleRadio1, kRepeatRuleRadio4, kRepeatRuleRadio2};
    for (int i = 0; i < 3; ++i) {
      auto r = std::make_unique<CRadioButton>(hwnd_, 2031 + i, At(16 + i * 22, 272, 15, 15), u"");
      r->SetRadioBit(repeatRules[i]);
      r->SetNormalImage(Skin(L"skins\\radio_nr.png"));
      r->SetOverImage(Skin(L"skins\\radio_ov.png"));
      r->SetCheckedImage(Skin(L"skins\\radio_dn.png"));
      CRadioButton* radio = Add(std::move(r));
      if (i == 1) Hover(*radio);
    }
    const wchar_t* directions[2][3] = {{L"skins\\up_nr.png", L"skins\\up_ov.png", L"skins\\up_check.png"},
                                       {L"skins\\down_nr.png", L"skins\\down_ov.png", L"skins\\down_check.png"}};
    for (int i = 0; i < 2; ++i) {
      auto r = std::make_unique<CRadioButton>(hwnd_, 3240 + i * 10, At(100 + i * 28, 268, 22, 22), u"");
      r->SetRadioBit({kRadioDirectionMask, i == 0 ? kRadioDirectionUp : kRadioDirectionDown});
      r->SetNormalImage(Skin(directions[i][0]));
      r->SetOverImage(Skin(directions[i][1]));
      r->SetCheckedImage(Skin(directions[i][2]));
      Add(std::move(r));
    }
    const wchar_t* rates[4][2] = {{L"skins\\125hz_nr.png", L"skins\\125hz_dn.png"},
                                  {L"skins\\250hz_nr.png", L"skins\\250hz_dn.png"},
                                  {L"skins\\500hz_nr.png", L"skins\\500hz_dn.png"},
                                  {L"skins\\1000hz_nr.png", L"skins\\1000hz_dn.png"}};
    for (int i = 0; i < 4; ++i) {
      auto r = std::make_unique<CRadioButton>(hwnd_, 3030 + i, At(16 + i * 100, 298, 96, 30), u"");
      r->SetRadioBit({kRadioRateMask, kRadioRate125 << i});
      r->SetNormalImage(Skin(rates[i][0]));
      r->SetOverImage(Skin(rates[i][0]));
      r->SetCheckedImage(Skin(rates[i][1]));
      Add(std::move(r));
    }
  }

  void Gauges() {
    Label(440, 8, 440, u"CSliderControl (5 positions), CPowerManageButton");
    for (int i = 0; i < 3; ++i) {
      auto track = std::make_unique<CStaticImage>(hwnd_, 3190, At(440, 30 + i * 24, 200, 14), u"");
      track->SetImage(Skin(L"skins\\Slider_bar.png"));
      Add(std::move(track));
      auto s = std::make_unique<CSliderControl>(hwnd_, 3200 + i, At(440, 30 + i * 24, 200, 14), u"", 5, Scaled(7),
                                                Scaled(7));
      s->SetThumbImage(Skin(L"skins\\Slider_Circle.png"));
      s->SetPosition(i * 2);
      Add(std::move(s));
    }
    auto dial = std::make_unique<CPowerManageButton>(hwnd_, 3500, At(700, 22, 140, 76), u"", 7);
    dial->LoadSkinImages();
    Add(std::move(dial));

    Label(440, 112, 460, u"CDPIValueShowControl, CDPIRadioButton (active stage in red)");
    SetDpiRadioMask(0x07);
    const int values[] = {8, 16, 24, 32, 48, 64};
    for (int i = 0; i < 6; ++i) {
      auto g = std::make_unique<CDPIValueShowControl>(hwnd_, 3300 + i, At(460 + i * 64, 132, 16, 100), u"", 64,
                                                      values[i] - 1);
      g->SetBackgroundImage(Skin(L"skins\\mouse\\dpi_bar_1.png"));
      g->SetFillImage(Skin(L"skins\\mouse\\dpi_bar_2.png"));
      Add(std::move(g));
      auto r = std::make_unique<CDPIRadioButton>(hwnd_, 3290 + i, i, At(440 + i * 64, 238, 56, 13), u"", values[i]);
      r->SetNormalImage(Skin(L"skins\\dpi_value.png"));
      r->SetOverImage(Skin(L"skins\\dpi_value.png"));
      r->SetCheckedImage(Skin(L"skins\\dpi_value.png"));
      // The UI font is taller than the 11-pixel value band; the DPI page
      // gives its labels a smaller one.
      r->SetFont(Scaled(12), u"Tahoma");
      if (i == 2) r->SetTextColour(RGB(255, 0, 0));
      CDPIRadioButton* radio = Add(std::move(r));
      if (i == 3) Hover(*radio);
    }

    Label(440, 262, 440, u"CBattery: 100 %, 50 %, 10 %, 0 %, charging, full; CStaticImage");
    const int modes[][2] = {{0, 100}, {0, 50}, {0, 10}, {0, 0}, {1, 60}, {2, 100}};
    for (int i = 0; i < 6; ++i) {
      auto b = std::make_unique<CBattery>(hwnd_, 3406, At(440 + i * 40, 282, 26, 61));
      b->SetOutlineImage(Skin(L"skins\\battery_empty.png"));
      b->SetLevelImage(Skin(L"skins\\battery_full.png"));
      b->SetChargingImage(Skin(L"skins\\battery_charging.png"));
      b->SetSymbolImage(Skin(L"skins\\battery_lighting.png"));
      b->SetMode(modes[i][0]);
      b->SetLevel(modes[i][1]);
      b->SetChargingLevel(modes[i][1]);
      Add(std::move(b));
    }
    const wchar_t* legend[] = {L"skins\\battery_green.png", L"skins\\battery_orange.png", L"skins\\battery_red.png"};
    for (int i = 0; i < 3; ++i) {
      auto image = std::make_unique<CStaticImage>(hwnd_, 3401, At(690, 286 + i * 20, 20, 11), u"");
      image->SetImage(Skin(legend[i]));
      Add(std::move(image));
    }
    auto text = std::make_unique<CStaticText>(hwnd_, 3405, At(720, 282, 160, 60), u"", kTextNormal,
                                              DT_LEFT | DT_WORDBREAK);
    text->SetCaption(u"CStaticText wraps its caption over several lines when asked to.");
    Add(std::move(text));
  }

  void Lists() {
    Label(16, 340, 200, u"CEditShowList, CVScrollBar");
    MacroLibrary& library = SampleLibrary();
    auto tree = std::make_unique<CEditShowList>(hwnd_, 2015, At(16, 360, 180, 190), u"", &library);
    tree->SetOpenFolderImage(Skin(L"skins\\foldr_open.png"));
    tree->SetClosedFolderImage(Skin(L"skins\\foldr_close.png"));
    CEditShowList* treeList = Add(std::move(tree));
    treeList->model().SetSelectedRow(3);
    auto treeBar = std::make_unique<CVScrollBar>(hwnd_, 2021, At(196, 360, 18, 190), u"");
    treeBar->SetScrollInfo(0, treeList->model().visibleRows(), treeList->model().ItemCount());
    CVScrollBar* bar = Add(std::move(treeBar));
    const RECT up = bar->GetRect();
    bar->OnMouseMove(0, up.left + 2, up.top + 2);  // the up arrow's over frame

    Label(230, 340, 200, u"CImageShowList, CVScrollBar");
    Macro& macro = SampleMacro();
    auto actions = std::make_unique<CImageShowList>(hwnd_, 2020, At(230, 360, 180, 190), u"", &macro);
    actions->SetIcon(static_cast<int>(ActionIcon::kRelease), Skin(L"skins\\macro_up.png"));
    actions->SetIcon(static_cast<int>(ActionIcon::kPress), Skin(L"skins\\macro_down.png"));
    actions->SetIcon(static_cast<int>(ActionIcon::kDelay), Skin(L"skins\\macro_time.png"));
    CImageShowList* list = Add(std::move(actions));
    list->model().SetSelectedRow(4);
    auto listBar = std::make_unique<CVScrollBar>(hwnd_, 2022, At(410, 360, 18, 190), u"");
    listBar->SetScrollInfo(2, list->model().visibleRows(), list->model().ItemCount());
    list->model().SetFirstRow(2);
    CVScrollBar* second = Add(std::move(listBar));
    const int thumb = (second->model().thumbTop() + second->model().thumbBottom()) / 2;
    second->OnMouseMove(0, second->GetRect().left + 4, thumb);  // the hovered thumb

    Label(440, 360, 440, u"CVScrollBar with range 0 (the thumb fills the track)");
    auto empty = std::make_unique<CVScrollBar>(hwnd_, 2023, At(440, 380, 18, 170), u"", 0, 0, 0);
    Add(std::move(empty));
  }

  void DrawBackground(HDC dc, const RECT& client) override {
    FillSolid(dc, client, RGB(20, 20, 20));
    DrawControls(dc, client);
  }
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= WM_USER && message < 0x8000) return 0;  // notifications: the gallery only looks
    return CDlgBase::OnMessage(message, wParam, lParam);
  }
};

}  // namespace

ZELTRA_GALLERY_SCENE(controls) {
  // Away from the dialog, so that the real pointer changes no look.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  context.windows.push_back(OpenModeless(std::make_unique<ControlsGalleryDlg>()));
}

}  // namespace zeltra::gallery
