#include "ui/win32/draw_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "base/win32/unique_handle_win32.h"
#include "ui/skin_image_files.h"
#include "ui/shared_cache.h"
#include "ui/small_dialogs.h"
#include "ui/skin_pixels.h"
#include "ui/ui_context.h"
#include "ui/win32/gdiplus_api_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, codecs and thread as usual
  ULONG_PTR token = 0;
  if (Gdip().GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdip().GdiplusShutdown(token_);
}

// --- decoded skin images -------------------------------------------------------

namespace {

// A 32-bit top-down DIB section and its pixels.
class Dib {
 public:
  Dib() = default;
  Dib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    handle_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle_) return;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
  }
  Dib(Dib&& other) noexcept { *this = std::move(other); }
  Dib& operator=(Dib&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(bits_, other.bits_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(opaque_, other.opaque_);
    return *this;
  }
  HBITMAP handle() const { return handle_.get(); }
  std::uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Every pixel opaque: copied instead of blended.
  bool opaque() const { return opaque_; }
  void set_opaque(bool opaque) { opaque_ = opaque; }

 private:
  UniqueBitmap handle_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool opaque_ = false;
};

// An image is drawn at one size or two, at as many places as controls show
// it (eight colour slots at most); at a scale of 1.5 the places' maps may all
// differ. Past that the least recently used copy goes.
constexpr std::size_t kStretchedCopies = 8;

// Where an image was stretched to: the destination and the source area.
struct StretchPlace {
  Area dest;
  Area source;
  friend bool operator==(const StretchPlace& a, const StretchPlace& b) {
    return std::memcmp(&a, &b, sizeof(StretchPlace)) == 0;
  }
};

// Blends an area of a premultiplied image into the 32-bit top-down picture
// whose DC `dc` is by writing its pixels, as GdiAlphaBlend would (which under
// Wine takes several times longer): false, and nothing drawn, for any other
// target, a mapping other than a plain offset or a clip that is not one
// rectangle.
bool BlendIntoDib(HDC dc, const Dib& from, const Area& dest, int x, int y) {
  const BackBuffer* picture = BackBuffer::TopDownPictureOf(dc);
  if (picture == nullptr) return false;
  if (GetGraphicsMode(dc) != GM_COMPATIBLE || GetMapMode(dc) != MM_TEXT) return false;
  RECT clip{};
  const int kind = GetClipBox(dc, &clip);
  if (kind == NULLREGION) return true;
  if (kind != SIMPLEREGION) return false;
  RECT area{dest.x, dest.y, dest.x + dest.width, dest.y + dest.height};
  if (!IntersectRect(&area, &area, &clip)) return true;
  POINT viewport{};
  POINT window{};
  GetViewportOrgEx(dc, &viewport);
  GetWindowOrgEx(dc, &window);
  const int dx = viewport.x - window.x;
  const int dy = viewport.y - window.y;
  const int width = picture->width();
  const int height = picture->height();
  // In device pixels, inside the bitmap.
  RECT device{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
  const RECT bitmap{0, 0, width, height};
  if (!IntersectRect(&device, &device, &bitmap)) return true;
  GdiFlush();  // what GDI drew into the target first, before its pixels are read
  std::uint32_t* pixels = picture->pixels();
  const std::size_t columns = static_cast<std::size_t>(device.right - device.left);
  for (int row = device.top; row < device.bottom; ++row) {
    const int sourceY = y + (row - dy - dest.y);
    const int sourceX = x + (device.left - dx - dest.x);
    BlendPremultiplied(from.bits() + static_cast<std::ptrdiff_t>(sourceY) * from.width() + sourceX,
                       pixels + static_cast<std::ptrdiff_t>(row) * width + device.left, columns);
  }
  return true;
}

// The memory DC every image is drawn from, selected only during a draw; one
// per thread (the window's background may be drawn on a thread of its own).
HDC SourceDc() {
  static thread_local const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  return dc.get();
}

}  // namespace

class SkinBitmap {
 public:
  explicit SkinBitmap(Dib pixels, bool opaque) : pixels_(std::move(pixels)) { pixels_.set_opaque(opaque); }
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  std::uint32_t* bits() const { return pixels_.bits(); }

  void Draw(HDC dc, const Area& dest, const Area& source, bool keep) {
    const bool inside = source.x >= 0 && source.y >= 0 && source.x + source.width <= width() &&
                        source.y + source.height <= height();
    if (inside && dest.width == source.width && dest.height == source.height) {
      Blit(dc, pixels_, dest, source.x, source.y);
      return;
    }
    // A place drawn before finds its copy without working the maps out again.
    const StretchPlace place{dest, source};
    std::weak_ptr<Dib>* known = places_.Find(place);
    if (known != nullptr) {
      if (const std::shared_ptr<Dib> kept = known->lock()) {
        Blit(dc, *kept, dest, 0, 0);
        return;
      }
    }
    const auto remember = [&](const std::shared_ptr<Dib>& copy) {
      if (known != nullptr) {
        *known = copy;
      } else {
        places_.Insert(place, copy);
      }
    };
    StretchMaps key = MapStretch(dest.x, dest.y, dest.width, dest.height, source.x, source.y, source.width,
                                 source.height, width(), height());
    if (const std::shared_ptr<Dib>* kept = stretched_.Find(key)) {
      if (keep) remember(*kept);
      Blit(dc, **kept, dest, 0, 0);
      return;
    }
    auto copy = std::make_shared<Dib>(dest.width, dest.height);
    if (copy->bits() == nullptr) return;
    ScaleNearest(pixels_.bits(), width(), key.columns, key.rows, copy->bits(), dest.width);
    // A stretched copy may start with a clear column or row (see StretchSources);
    // without one, an opaque image's copy is opaque too.
    copy->set_opaque(pixels_.opaque() && ShowsWholeArea(key));
    Blit(dc, *copy, dest, 0, 0);
    if (!keep) return;
    remember(copy);
    stretched_.Insert(std::move(key), std::move(copy));
  }

  std::size_t copies() const { return stretched_.size(); }

 private:
  static void Blit(HDC dc, const Dib& from, const Area& dest, int x, int y) {
    if (!from.opaque() && BlendIntoDib(dc, from, dest, x, y)) return;
    HDC memory = SourceDc();
    const SelectionScope selected(memory, from.handle());
    if (from.opaque()) {
      BitBlt(dc, dest.x, dest.y, dest.width, dest.height, memory, x, y, SRCCOPY);
    } else {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      GdiAlphaBlend(dc, dest.x, dest.y, dest.width, dest.height, memory, x, y, dest.width, dest.height, blend);
    }
  }

  Dib pixels_;
  RecentCache<StretchMaps, std::shared_ptr<Dib>> stretched_{kStretchedCopies};
  // The copy each recent place was drawn from; the copies are owned above.
  RecentCache<StretchPlace, std::weak_ptr<Dib>> places_{2 * kStretchedCopies};
};

void SkinImage::Reset() {
  pixels_.Reset();
  assigned_ = false;
  width_ = height_ = 0;
}

std::filesystem::path SkinPath(const wchar_t* relative) { return Ui().programFolder / relative; }

namespace {

// The decoded image's pixels, premultiplied, in a bitmap of our own; the
// GDI+ image is no longer needed afterwards.
std::shared_ptr<SkinBitmap> ToSkinBitmap(Gdiplus::GpImage* image) {
  UINT w = 0;
  UINT h = 0;
  Gdip().GdipGetImageWidth(image, &w);
  Gdip().GdipGetImageHeight(image, &h);
  if (w == 0 || h == 0 || w > 0x4000 || h > 0x4000) return nullptr;
  auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image);
  const Gdiplus::GpRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  Gdiplus::BitmapData data{};
  if (Gdip().GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok) {
    return nullptr;  // not a raster image
  }
  Dib pixels(static_cast<int>(w), static_cast<int>(h));
  if (pixels.bits() != nullptr) {
    for (UINT row = 0; row < h; ++row) {
      std::memcpy(pixels.bits() + static_cast<std::size_t>(row) * w,
                  static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride,
                  static_cast<std::size_t>(w) * 4);
    }
  }
  Gdip().GdipBitmapUnlockBits(bitmap, &data);
  if (pixels.bits() == nullptr) return nullptr;
  const bool opaque = PremultiplyPixels(pixels.bits(), static_cast<std::size_t>(w) * h);
  return std::make_shared<SkinBitmap>(std::move(pixels), opaque);
}

SharedCache<std::wstring, SkinBitmap>& DecodedFiles() {
  static SharedCache<std::wstring, SkinBitmap> files;
  return files;
}

// A PNG or BMP decoded by our own decoders straight into a bitmap of our
// own, premultiplied; nothing when they leave the file to GDI+.
std::shared_ptr<SkinBitmap> DecodeOwn(const std::uint8_t* data, std::size_t size) {
  Dib pixels;
  const auto into = [&](int width, int height) {
    pixels = Dib(width, height);
    return pixels.bits();
  };
  if (!DecodePngInto(data, size, into) && !DecodeBmpInto(data, size, into)) return nullptr;
  const bool opaque =
      PremultiplyPixels(pixels.bits(), static_cast<std::size_t>(pixels.width()) * static_cast<std::size_t>(pixels.height()));
  return std::make_shared<SkinBitmap>(std::move(pixels), opaque);
}

// A skin file is a few kilobytes; one past this is not read whole.
constexpr DWORD kLargestSkinFile = 64u << 20;

// The file's bytes, or nothing when it cannot be read or is too large.
std::optional<std::vector<std::uint8_t>> ReadSkinFile(const std::filesystem::path& file) {
  const UniqueKernelHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle.get(), &size) || size.QuadPart > kLargestSkinFile) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

std::shared_ptr<SkinBitmap> DecodeFile(const std::filesystem::path& file) {
  // Our own decoder first; what it does not take, the system decodes.
  if (const auto bytes = ReadSkinFile(file)) {
    if (auto decoded = DecodeOwn(bytes->data(), bytes->size())) return decoded;
  }
  Gdiplus::GpImage* image = nullptr;
  if (Gdip().GdipLoadImageFromFileICM(file.c_str(), &image) != Gdiplus::Ok || image == nullptr) return nullptr;
  auto decoded = ToSkinBitmap(image);
  Gdip().GdipDisposeImage(image);
  return decoded;
}

// A resource PNG's bytes through a stream; GDI+ reads the stream while it
// decodes, and the pixels are copied out at once, so the bytes go with it.
std::shared_ptr<SkinBitmap> DecodeResourcePng(HRSRC resource) {
  HMODULE module = GetModuleHandleW(nullptr);
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return nullptr;
  if (auto decoded = DecodeOwn(static_cast<const std::uint8_t*>(data), size)) return decoded;
  const win32::UniqueGlobalMemory bytes(GlobalAlloc(GMEM_FIXED, size));
  if (!bytes) return nullptr;
  std::memcpy(reinterpret_cast<void*>(bytes.get()), data, size);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(bytes.get(), FALSE, &stream)) || stream == nullptr) return nullptr;
  Gdiplus::GpImage* image = nullptr;
  std::shared_ptr<SkinBitmap> decoded;
  if (Gdip().GdipLoadImageFromStream(stream, &image) == Gdiplus::Ok && image != nullptr) {
    decoded = ToSkinBitmap(image);
    Gdip().GdipDisposeImage(image);
  }
  stream->Release();
  return decoded;
}

// Resources are named in the cache by a key no file path can have.
constexpr std::wstring_view kResourceKey = L"|PNG|";

std::shared_ptr<SkinBitmap> Decode(const std::wstring& key) {
  if (key.compare(0, kResourceKey.size(), kResourceKey) == 0) {
    const UINT id = static_cast<UINT>(std::wcstoul(key.c_str() + kResourceKey.size(), nullptr, 10));
    HRSRC resource = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG");
    return resource != nullptr ? DecodeResourcePng(resource) : nullptr;
  }
  return DecodeFile(key);
}

}  // namespace

SkinBitmap* SkinImage::bitmap() const {
  SkinBitmap* decoded = pixels_.Get([this] { return Decode(pixels_.key()); });
  if (decoded != nullptr) {
    width_ = decoded->width();
    height_ = decoded->height();
  }
  return decoded;
}

int SkinImage::width() const {
  bitmap();
  return width_;
}

int SkinImage::height() const {
  bitmap();
  return height_;
}

void SetSkinFile(const std::filesystem::path& file, SkinImage& slot) {
  slot.assigned_ = true;
  slot.pixels_.Assign(DecodedFiles(), file.native());
}

bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot) {
  SetSkinFile(file, slot);
  return slot.drawable();
}

bool LoadResourcePng(UINT id, SkinImage& slot) {
  if (FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG") == nullptr) return false;
  const std::wstring key = std::wstring(kResourceKey) + std::to_wstring(id);
  // Decoded before the slot changes: a resource that does not decode leaves it as it was.
  LazyShared<std::wstring, SkinBitmap> probe;
  probe.Assign(DecodedFiles(), key);
  if (probe.Get([&] { return Decode(key); }) == nullptr) return false;
  slot.assigned_ = true;
  slot.pixels_.Assign(DecodedFiles(), key);
  return slot.drawable();
}

void FrameBitmap::Reset() {
  bitmap_.reset();
  width_ = height_ = 0;
}

bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame) {
  Gdiplus::GpBitmap* decoded = nullptr;
  if (Gdip().GdipCreateBitmapFromFile(file.c_str(), &decoded) != Gdiplus::Ok || decoded == nullptr) return false;
  HBITMAP bitmap = nullptr;
  const bool ok = Gdip().GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFF000000) == Gdiplus::Ok && bitmap != nullptr;
  Gdip().GdipDisposeImage(decoded);
  if (!ok) return false;
  frame.Reset();
  frame.bitmap_.reset(bitmap);
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof(info), &info) != 0) {
    frame.width_ = info.bmWidth;
    frame.height_ = info.bmHeight;
  }
  return true;
}

std::optional<COLORREF> AverageColour(HDC windowDc, HBITMAP bitmap, int width, int height) {
  if (bitmap == nullptr || width <= 0 || height <= 0) return std::nullopt;
  const UniqueMemoryDc memory(CreateCompatibleDC(windowDc));
  if (!memory) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  // GetDIBits wants the bitmap not selected into any device context.
  const int lines =
      GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  if (lines != height) return std::nullopt;
  const std::uint32_t rgb = AverageRgb(pixels.data(), pixels.size());
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void DrawImageScaled(HDC dc, const SkinImage& image, const Area& dest, const Area& source, bool keep) {
  if (dest.width <= 0 || dest.height <= 0 || source.width <= 0 || source.height <= 0) return;
  if (SkinBitmap* bitmap = image.bitmap()) bitmap->Draw(dc, dest, source, keep);
}

void DrawImageScaled(HDC dc, const SkinImage& image, const RECT& dest) {
  DrawImageScaled(dc, image, AreaOf(dest), Area{0, 0, image.width(), image.height()});
}

void DrawStripFrame(HDC dc, const SkinImage& strip, int index, int frameWidth, int frameHeight, const RECT& dest) {
  DrawImageScaled(dc, strip, AreaOf(dest), Area{index * frameWidth, 0, frameWidth, frameHeight});
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void DrawControlText(HDC dc, HFONT font, const std::u16string& text, const RECT& rect, COLORREF colour, UINT format) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const SelectionScope selectedFont(dc, font);
  const COLORREF oldColour = SetTextColor(dc, colour);
  RECT box = rect;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &box, format);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// --- dialog frames -----------------------------------------------------------

namespace {

// A frame from our own decoders: opaque pixels over black, as GDI+ gives them.
std::optional<FramePixels> OwnFramePixels(const std::uint8_t* data, std::size_t size) {
  auto image = DecodeSkinImage(data, size);
  if (!image) return std::nullopt;
  FramePixels frame;
  frame.width = image->width;
  frame.height = image->height;
  frame.rgb = std::move(image->argb);
  for (std::uint32_t& pixel : frame.rgb) pixel = PremultipliedPixel(pixel) & 0xFFFFFF;
  return frame;
}

std::optional<FramePixels> ReadFrameFile(const std::filesystem::path& file) {
  if (const auto bytes = ReadSkinFile(file)) {
    if (auto frame = OwnFramePixels(bytes->data(), bytes->size())) return frame;
  }
  Gdiplus::GpBitmap* decoded = nullptr;
  if (Gdip().GdipCreateBitmapFromFile(file.c_str(), &decoded) != Gdiplus::Ok || decoded == nullptr) return std::nullopt;
  std::optional<FramePixels> frame;
  UINT w = 0;
  UINT h = 0;
  Gdip().GdipGetImageWidth(decoded, &w);
  Gdip().GdipGetImageHeight(decoded, &h);
  const Gdiplus::GpRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  Gdiplus::BitmapData data{};
  if (w > 0 && h > 0 && w <= 0x4000 && h <= 0x4000 &&
      Gdip().GdipBitmapLockBits(decoded, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) ==
          Gdiplus::Ok) {
    frame.emplace();
    frame->width = static_cast<int>(w);
    frame->height = static_cast<int>(h);
    frame->rgb.resize(static_cast<std::size_t>(w) * h);
    for (UINT row = 0; row < h; ++row) {
      const auto* line = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data.Scan0) +
                                                                static_cast<std::ptrdiff_t>(row) * data.Stride);
      // Over opaque black, as a GDI bitmap of the image shows it.
      for (UINT x = 0; x < w; ++x) frame->rgb[row * w + x] = PremultipliedPixel(line[x]) & 0xFFFFFF;
    }
    Gdip().GdipBitmapUnlockBits(decoded, &data);
  }
  Gdip().GdipDisposeImage(decoded);
  return frame;
}

// A bitmap resource's bytes: a packed bitmap in the executable's image.
std::optional<std::pair<const std::uint8_t*, std::size_t>> BitmapResourceBytes(UINT id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return std::nullopt;
  return std::make_pair(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(SizeofResource(module, resource)));
}

std::optional<FramePixels> ReadFrameResource(UINT id) {
  // Read in place by our own decoder first.
  if (const auto bytes = BitmapResourceBytes(id)) {
    if (auto frame = OwnFramePixels(bytes->first, bytes->second)) return frame;
  }
  const UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap.get(), sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return std::nullopt;
  }
  FramePixels frame;
  frame.width = info.bmWidth;
  frame.height = info.bmHeight;
  frame.rgb.resize(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height));
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = frame.width;
  request.bmiHeader.biHeight = -frame.height;  // top-down
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  const UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(frame.height), frame.rgb.data(), &request,
                DIB_RGB_COLORS) != frame.height) {
    return std::nullopt;
  }
  for (std::uint32_t& pixel : frame.rgb) pixel &= 0xFFFFFF;
  return frame;
}

// The frame stretched to its drawn size, opaque where the frame has pixels
// and clear past its edges (a frame smaller than its design size).
std::unique_ptr<SkinBitmap> StretchFrame(const FramePixels& frame, int designWidth, int designHeight, float scale) {
  const int w = Scaled(designWidth, scale);
  const int h = Scaled(designHeight, scale);
  if (w <= 0 || h <= 0 || frame.rgb.empty()) return nullptr;
  auto columns = BlitStretchSources(w, designWidth);
  auto rows = BlitStretchSources(h, designHeight);
  bool holes = false;
  for (int& c : columns) {
    if (c >= frame.width) c = -1, holes = true;
  }
  for (int& r : rows) {
    if (r >= frame.height) r = -1, holes = true;
  }
  Dib stretched(w, h);
  if (stretched.bits() == nullptr) return nullptr;
  ScaleNearest(frame.rgb.data(), frame.width, columns, rows, stretched.bits(), w);
  if (holes) {
    // Alpha blending wants opaque pixels marked so; the holes stay clear.
    for (std::size_t y = 0; y < rows.size(); ++y) {
      if (rows[y] < 0) continue;
      std::uint32_t* line = stretched.bits() + y * static_cast<std::size_t>(w);
      for (std::size_t x = 0; x < columns.size(); ++x) {
        if (columns[x] >= 0) line[x] |= 0xFF000000;
      }
    }
  }
  return std::make_unique<SkinBitmap>(std::move(stretched), !holes);
}

}  // namespace

std::optional<Bgr24Rows> BitmapResourceRows(UINT id) {
  const auto bytes = BitmapResourceBytes(id);
  if (!bytes) return std::nullopt;
  return ViewBmp(bytes->first, bytes->second);
}

std::optional<FramePixels> ReadFramePixels(const FrameSource& source) {
  return source.resource != 0 ? ReadFrameResource(source.resource) : ReadFrameFile(source.file);
}

void DrawFramePixels(HDC dc, const FramePixels& frame, int designWidth, int designHeight, float scale) {
  if (auto stretched = StretchFrame(frame, designWidth, designHeight, scale)) {
    const Area all{0, 0, stretched->width(), stretched->height()};
    stretched->Draw(dc, all, all, false);
  }
}

void DrawFramePixels(BackBuffer& picture, const FramePixels& frame, int designWidth, int designHeight, float scale) {
  const bool covers = frame.width >= designWidth && frame.height >= designHeight;
  if (picture.pixels() == nullptr || !covers) {
    DrawFramePixels(picture.dc(), frame, designWidth, designHeight, scale);
    return;
  }
  auto columns = BlitStretchSources(std::min(Scaled(designWidth, scale), picture.width()), designWidth);
  auto rows = BlitStretchSources(std::min(Scaled(designHeight, scale), picture.height()), designHeight);
  GdiFlush();  // what GDI drew into the picture first, before its pixels are written
  ScaleNearest(frame.rgb.data(), frame.width, columns, rows, picture.pixels(), picture.width());
}

std::optional<ImagePixels> DecodeOwnImageFile(const std::filesystem::path& file) {
  const auto bytes = ReadSkinFile(file);
  if (!bytes) return std::nullopt;
  return DecodeSkinImage(bytes->data(), bytes->size());
}

bool DrawOpaqueScaled(BackBuffer& picture, const ImagePixels& image, const Area& dest, const Area& source) {
  if (picture.pixels() == nullptr || dest.width <= 0 || dest.height <= 0 || dest.x < 0 || dest.y < 0 ||
      dest.x + dest.width > picture.width() || dest.y + dest.height > picture.height()) {
    return false;
  }
  for (const std::uint32_t pixel : image.argb) {
    if ((pixel >> 24) != 0xFF) return false;
  }
  const StretchMaps maps = MapStretch(dest.x, dest.y, dest.width, dest.height, source.x, source.y, source.width,
                                      source.height, image.width, image.height);
  if (!ShowsWholeArea(maps)) return false;
  GdiFlush();  // what GDI drew into the picture first, before its pixels are written
  std::uint32_t* at = picture.pixels() + static_cast<std::ptrdiff_t>(dest.y) * picture.width() + dest.x;
  ScaleNearest(image.argb.data(), image.width, maps.columns, maps.rows, at, picture.width());
  return true;
}

FrameFile::FrameFile() = default;
FrameFile::~FrameFile() = default;

bool FrameFile::Draw(HDC dc, const FrameSource& source, int designWidth, int designHeight, float scale) {
  if (scale != scale_) {
    // Stretched for another scale (a dialog shown again under another one).
    stretched_.reset();
    tried_ = false;
    scale_ = scale;
  }
  if (!tried_) {
    tried_ = true;
    if (const auto frame = ReadFramePixels(source)) stretched_ = StretchFrame(*frame, designWidth, designHeight, scale);
  }
  if (!stretched_) return false;
  const Area all{0, 0, stretched_->width(), stretched_->height()};
  stretched_->Draw(dc, all, all, false);
  return true;
}

HFONT CreateControlFont(int height, const std::u16string& face, int charset) {
  return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, static_cast<DWORD>(charset & 0xFF),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, Wide(face));
}

UniqueFont CreateEditBoxFont(HWND window, int tenths, std::u16string_view face) {
  int dpiY = 96;
  if (const WindowDc dc(window); dc) dpiY = GetDeviceCaps(dc.get(), LOGPIXELSY);
  return UniqueFont(CreateFontW(PointFontHeight(tenths, dpiY), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                Wide(std::u16string(face))));
}

HFONT CreateControlFont(const UiFont& font) { return CreateControlFont(font.height, font.face, font.charset); }

}  // namespace zeltra::win32
