#include "ui/skin_image_files.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <new>

namespace zeltra {

namespace {

// --- inflate -------------------------------------------------------------------

constexpr int kMaxBits = 15;
// Codes up to this long are found with one table lookup; longer ones (rare
// in images) bit by bit.
constexpr int kFastBits = 10;

// Reads the stream's bits from the least significant end. Past the end it
// reads zero bits and counts them, so that a decode running past the end is
// caught once, not at every read.
class BitReader {
 public:
  BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  void Refill() {
    while (count_ <= 56) {
      std::uint64_t byte = 0;
      if (pos_ < size_) {
        byte = data_[pos_];
      } else {
        overrun_ += 8;
      }
      ++pos_;
      bits_ |= byte << count_;
      count_ += 8;
    }
  }
  std::uint32_t Peek(int n) {
    if (count_ < n) Refill();
    return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
  }
  void Drop(int n) {
    bits_ >>= n;
    count_ -= n;
  }
  std::uint32_t Take(int n) {
    if (n == 0) return 0;
    const std::uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  // To the next byte boundary, for a stored block.
  void AlignToByte() { Drop(count_ % 8); }
  // A stored block's bytes: those the bit buffer holds first (it holds
  // whole bytes after AlignToByte), then straight from the input.
  bool TakeBytes(std::size_t n, std::uint8_t* out) {
    while (n > 0 && count_ >= 8) {
      *out++ = static_cast<std::uint8_t>(Take(8));
      --n;
    }
    if (Overran()) return false;
    if (n == 0) return true;
    if (pos_ > size_ || size_ - pos_ < n) return false;
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  bool Overran() const { return overrun_ > count_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::uint64_t bits_ = 0;
  int count_ = 0;
  int overrun_ = 0;  // zero bits fed past the end (some may still be unread)
};

// A canonical Huffman code: the symbols by code length, and a table of the
// short codes indexed by their bits as they come off the stream.
class Huffman {
 public:
  // False for an over-subscribed set of lengths; an incomplete one is kept
  // (a stream that uses a missing code fails when it does).
  bool Build(const std::uint8_t* lengths, int symbols) {
    counts_.fill(0);
    fast_.fill(0);
    for (int s = 0; s < symbols; ++s) ++counts_[lengths[s]];
    counts_[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
      left = (left << 1) - counts_[len];
      if (left < 0) return false;
    }
    std::array<std::uint16_t, kMaxBits + 2> offsets{};
    for (int len = 1; len <= kMaxBits; ++len) offsets[len + 1] = static_cast<std::uint16_t>(offsets[len] + counts_[len]);
    for (int s = 0; s < symbols; ++s) {
      if (lengths[s] != 0) symbols_[offsets[lengths[s]]++] = static_cast<std::uint16_t>(s);
    }
    // Canonical codes, each length's codes counting up from the last length's.
    int code = 0;
    int index = 0;
    for (int len = 1; len <= kFastBits; ++len) {
      for (int i = 0; i < counts_[len]; ++i, ++code, ++index) {
        int reversed = 0;
        for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
        const auto entry = static_cast<std::uint16_t>((len << 9) | symbols_[index]);
        for (int fill = reversed; fill < (1 << kFastBits); fill += 1 << len) fast_[fill] = entry;
      }
      code <<= 1;
    }
    return true;
  }

  // The next symbol, or -1 for a code the set does not have.
  int Decode(BitReader& in) const {
    const std::uint16_t entry = fast_[in.Peek(kFastBits)];
    if (entry != 0) {
      in.Drop(entry >> 9);
      return entry & 0x1FF;
    }
    // Bit by bit, from the first length (the codes of each length follow
    // those of the shorter ones).
    int code = 0;
    int first = 0;
    int index = 0;
    const std::uint32_t bits = in.Peek(kMaxBits);
    for (int len = 1; len <= kMaxBits; ++len) {
      code |= static_cast<int>((bits >> (len - 1)) & 1);
      const int count = counts_[len];
      if (code - first < count) {
        in.Drop(len);
        return symbols_[index + code - first];
      }
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  std::array<std::uint16_t, kMaxBits + 1> counts_{};
  std::array<std::uint16_t, 288> symbols_{};
  std::array<std::uint16_t, 1 << kFastBits> fast_{};
};

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase{1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                                      33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                                      1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                      6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
 public:
  Inflater(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t expected)
      : in_(data, size), expected_(expected), out_(out) {}

  bool Run() {
    bool last = false;
    while (!last) {
      last = in_.Take(1) == 1;
      const std::uint32_t type = in_.Take(2);
      bool ok = false;
      if (type == 0) {
        ok = Stored();
      } else if (type == 1) {
        ok = Fixed();
      } else if (type == 2) {
        ok = Dynamic();
      }
      if (!ok || in_.Overran()) return false;
    }
    return written_ == expected_;
  }

 private:
  bool Stored() {
    in_.AlignToByte();
    const std::uint32_t length = in_.Take(16);
    const std::uint32_t check = in_.Take(16);
    if ((length ^ 0xFFFF) != check || length > expected_ - written_) return false;
    if (!in_.TakeBytes(length, out_ + written_)) return false;
    written_ += length;
    return true;
  }

  bool Fixed() {
    std::array<std::uint8_t, 288 + 30> lengths{};
    std::fill(lengths.begin(), lengths.begin() + 144, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    std::fill(lengths.begin() + 280, lengths.begin() + 288, 8);
    std::fill(lengths.begin() + 288, lengths.end(), 5);
    if (!literals_.Build(lengths.data(), 288) || !distances_.Build(lengths.data() + 288, 30)) return false;
    return Codes();
  }

  bool Dynamic() {
    const int literals = static_cast<int>(in_.Take(5)) + 257;
    const int distances = static_cast<int>(in_.Take(5)) + 1;
    const int codeLengths = static_cast<int>(in_.Take(4)) + 4;
    if (literals > 286 || distances > 30) return false;
    static constexpr std::array<std::uint8_t, 19> kOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 19> lengthLengths{};
    for (int i = 0; i < codeLengths; ++i) lengthLengths[kOrder[i]] = static_cast<std::uint8_t>(in_.Take(3));
    Huffman lengthCode;
    if (!lengthCode.Build(lengthLengths.data(), 19)) return false;
    std::array<std::uint8_t, 286 + 30> lengths{};
    int n = 0;
    while (n < literals + distances) {
      const int symbol = lengthCode.Decode(in_);
      if (symbol < 0) return false;
      if (symbol < 16) {
        lengths[n++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t repeated = 0;
      int times = 0;
      if (symbol == 16) {
        if (n == 0) return false;
        repeated = lengths[n - 1];
        times = 3 + static_cast<int>(in_.Take(2));
      } else if (symbol == 17) {
        times = 3 + static_cast<int>(in_.Take(3));
      } else {
        times = 11 + static_cast<int>(in_.Take(7));
      }
      if (n + times > literals + distances) return false;
      while (times-- > 0) lengths[n++] = repeated;
      if (in_.Overran()) return false;
    }
    if (lengths[256] == 0) return false;  // no end of block
    if (!literals_.Build(lengths.data(), literals) || !distances_.Build(lengths.data() + literals, distances)) {
      return false;
    }
    return Codes();
  }

  bool Codes() {
    std::uint8_t* out = out_;
    for (;;) {
      const int symbol = literals_.Decode(in_);
      if (symbol < 0) return false;
      if (symbol < 256) {
        if (written_ == expected_) return false;
        out[written_++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      if (symbol == 256) return !in_.Overran();
      const int l = symbol - 257;
      if (l >= 29) return false;
      const std::size_t length = kLengthBase[l] + in_.Take(kLengthExtra[l]);
      const int d = distances_.Decode(in_);
      if (d < 0 || d >= 30) return false;
      const std::size_t distance = kDistanceBase[d] + in_.Take(kDistanceExtra[d]);
      if (in_.Overran() || distance > written_ || length > expected_ - written_) return false;
      // Byte by byte: a copy may overlap what it writes (a run).
      const std::uint8_t* from = out + written_ - distance;
      std::uint8_t* to = out + written_;
      for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
      written_ += length;
    }
  }

  BitReader in_;
  std::size_t expected_;
  std::uint8_t* out_;
  std::size_t written_ = 0;
  Huffman literals_;
  Huffman distances_;
};

// --- PNG -----------------------------------------------------------------------

std::uint32_t ReadBig32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
  const auto& table = CrcTable();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* p, std::size_t n) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  while (n > 0) {
    const std::size_t run = n < 5552 ? n : 5552;  // no overflow before the modulo
    for (std::size_t i = 0; i < run; ++i) {
      a += p[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
    p += run;
    n -= run;
  }
  return (b << 16) | a;
}

inline int Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c);
  const int pb = std::abs(a - c);
  const int pc = std::abs(a + b - 2 * c);
  const int ab = pb < pa ? b : a;
  const int abPick = pb < pa ? pb : pa;
  return pc < abPick ? c : ab;
}

// Undoes each row's filter in place; false for an unknown filter.
bool Unfilter(std::uint8_t* data, int width, int height, int channels) {
  const std::size_t stride = static_cast<std::size_t>(width) * channels;
  const auto c = static_cast<std::size_t>(channels);
  // Above the first row is a row of zeros.
  std::vector<std::uint8_t> zeros(stride, 0);
  const std::uint8_t* up = zeros.data();
  for (int y = 0; y < height; ++y, data += stride + 1) {
    std::uint8_t* row = data + 1;
    switch (data[0]) {
      case 0: break;
      case 1:
        for (std::size_t x = c; x < stride; ++x) row[x] = static_cast<std::uint8_t>(row[x] + row[x - c]);
        break;
      case 2:
        for (std::size_t x = 0; x < stride; ++x) row[x] = static_cast<std::uint8_t>(row[x] + up[x]);
        break;
      case 3:
        for (std::size_t x = 0; x < c; ++x) row[x] = static_cast<std::uint8_t>(row[x] + up[x] / 2);
        for (std::size_t x = c; x < stride; ++x) row[x] = static_cast<std::uint8_t>(row[x] + (row[x - c] + up[x]) / 2);
        break;
      case 4:
        for (std::size_t x = 0; x < c; ++x) row[x] = static_cast<std::uint8_t>(row[x] + up[x]);
        for (std::size_t x = c; x < stride; ++x) {
          row[x] = static_cast<std::uint8_t>(row[x] + Paeth(row[x - c], up[x], up[x - c]));
        }
        break;
      default: return false;
    }
    up = row;
  }
  return true;
}

}  // namespace

bool Inflate(const std::uint8_t* data, std::size_t size, std::size_t expected, std::vector<std::uint8_t>& out) {
  out.resize(expected);
  Inflater inflater(data, size, out.data(), expected);
  return inflater.Run();
}

bool DecodePngInto(const std::uint8_t* data, std::size_t size, const PixelTarget& target) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data == nullptr || size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
  int width = 0;
  int height = 0;
  int colourType = -1;
  std::vector<std::uint8_t> compressed;
  std::array<std::uint32_t, 256> palette{};
  std::size_t paletteSize = 0;
  bool ended = false;
  std::size_t at = 8;
  while (!ended) {
    if (size - at < 12) return false;
    const std::uint32_t length = ReadBig32(data + at);
    if (length > size - at - 12) return false;
    const std::uint8_t* type = data + at + 4;
    const std::uint8_t* body = data + at + 8;
    if (Crc32(type, length + 4) != ReadBig32(body + length)) return false;
    const auto is = [&](const char* name) { return std::memcmp(type, name, 4) == 0; };
    const bool first = at == 8;
    if (first != is("IHDR")) return false;
    if (is("IHDR")) {
      if (length != 13) return false;
      const std::uint32_t w = ReadBig32(body);
      const std::uint32_t h = ReadBig32(body + 4);
      // 8 bits per sample, deflate, the one filter method, not interlaced.
      if (w == 0 || h == 0 || w > kImageMaxSide || h > kImageMaxSide || body[8] != 8 || body[10] != 0 ||
          body[11] != 0 || body[12] != 0) {
        return false;
      }
      colourType = body[9];
      if (colourType != 0 && colourType != 2 && colourType != 3 && colourType != 4 && colourType != 6) {
        return false;
      }
      width = static_cast<int>(w);
      height = static_cast<int>(h);
    } else if (is("PLTE")) {
      if (length % 3 != 0 || length / 3 > 256 || length == 0 || !compressed.empty()) return false;
      paletteSize = length / 3;
      for (std::size_t i = 0; i < paletteSize; ++i) {
        palette[i] = 0xFF000000u | (static_cast<std::uint32_t>(body[3 * i]) << 16) |
                     (static_cast<std::uint32_t>(body[3 * i + 1]) << 8) | body[3 * i + 2];
      }
    } else if (is("tRNS")) {
      // A palette's alphas only; a colour key is left to the system.
      if (colourType != 3 || paletteSize == 0 || length > paletteSize || !compressed.empty()) return false;
      for (std::size_t i = 0; i < length; ++i) {
        palette[i] = (palette[i] & 0x00FFFFFFu) | (static_cast<std::uint32_t>(body[i]) << 24);
      }
    } else if (is("IDAT")) {
      compressed.insert(compressed.end(), body, body + length);
    } else if (is("IEND")) {
      ended = true;
    } else if (is("gAMA") || is("cHRM") || is("sRGB") || is("iCCP") || (type[0] & 0x20) == 0) {
      // What would change the colours, and critical chunks not known here.
      return false;
    }
    at += 12 + static_cast<std::size_t>(length);
  }
  if (compressed.size() < 6 || (colourType == 3 && paletteSize == 0)) return false;
  // The zlib wrapper: deflate, a valid check, no preset dictionary.
  const std::uint8_t cmf = compressed[0];
  const std::uint8_t flg = compressed[1];
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || ((cmf << 8) | flg) % 31 != 0 || (flg & 0x20) != 0) return false;

  static constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  const int channels = kChannels[colourType];
  const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * channels;
  const std::size_t expected = rowBytes * static_cast<std::size_t>(height);
  // Deflate makes at most 258 bytes of 2 bits: a header promising more than
  // the stream can hold is refused before anything that large is made.
  if (expected / 1032 > compressed.size()) return false;
  // Not zeroed: the stream writes every byte, or the decode fails.
  const std::unique_ptr<std::uint8_t[]> raw(new (std::nothrow) std::uint8_t[expected]);
  if (!raw) return false;
  Inflater inflater(compressed.data() + 2, compressed.size() - 6, raw.get(), expected);
  if (!inflater.Run()) return false;
  if (Adler32(raw.get(), expected) != ReadBig32(compressed.data() + compressed.size() - 4)) return false;
  if (!Unfilter(raw.get(), width, height, channels)) return false;

  if (colourType == 3) {
    // An index past the palette: the system's decoder decides what it shows.
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* p = raw.get() + static_cast<std::size_t>(y) * rowBytes + 1;
      for (int x = 0; x < width; ++x) {
        if (p[x] >= paletteSize) return false;
      }
    }
  }
  std::uint32_t* out = target(width, height);
  if (out == nullptr) return false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* p = raw.get() + static_cast<std::size_t>(y) * rowBytes + 1;
    std::uint32_t* row = out + static_cast<std::size_t>(y) * width;
    switch (colourType) {
      case 0:
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (p[x] * 0x010101u);
        break;
      case 2:
        for (int x = 0; x < width; ++x, p += 3) row[x] = 0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2];
        break;
      case 3:
        for (int x = 0; x < width; ++x) row[x] = palette[p[x]];
        break;
      case 4:
        for (int x = 0; x < width; ++x, p += 2) row[x] = (static_cast<std::uint32_t>(p[1]) << 24) | (p[0] * 0x010101u);
        break;
      default:
        for (int x = 0; x < width; ++x, p += 4) {
          row[x] = (static_cast<std::uint32_t>(p[3]) << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
        }
        break;
    }
  }
  return true;
}

namespace {

std::uint32_t ReadLittle32(const std::uint8_t* p) {
  return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}

std::optional<ImagePixels> DecodeToVector(
    const std::uint8_t* data, std::size_t size,
    bool (*decode)(const std::uint8_t*, std::size_t, const PixelTarget&)) {
  ImagePixels image;
  const bool decoded = decode(data, size, [&](int width, int height) {
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return image.argb.data();
  });
  if (!decoded) return std::nullopt;
  return image;
}

}  // namespace

std::optional<ImagePixels> DecodePng(const std::uint8_t* data, std::size_t size) {
  return DecodeToVector(data, size, &DecodePngInto);
}

std::optional<Bgr24Rows> ViewBmp(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kFileHeader = 14;
  constexpr std::size_t kInfoHeader = 40;
  if (data == nullptr) return std::nullopt;
  const bool file = size >= 2 && data[0] == 'B' && data[1] == 'M';
  const std::size_t info = file ? kFileHeader : 0;
  if (size < info + kInfoHeader || ReadLittle32(data + info) != kInfoHeader) return std::nullopt;
  const auto width = static_cast<std::int32_t>(ReadLittle32(data + info + 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadLittle32(data + info + 8));
  const std::uint32_t planesAndBits = ReadLittle32(data + info + 12);
  const std::uint32_t compression = ReadLittle32(data + info + 16);
  const std::uint32_t coloursUsed = ReadLittle32(data + info + 32);
  // One plane of 24 bits, BI_RGB.
  if (planesAndBits != (1u | (24u << 16)) || compression != 0) return std::nullopt;
  if (width <= 0 || width > kImageMaxSide || rawHeight == 0 || rawHeight < -kImageMaxSide ||
      rawHeight > kImageMaxSide || coloursUsed > 256) {
    return std::nullopt;
  }
  Bgr24Rows rows;
  rows.width = width;
  rows.height = rawHeight < 0 ? -rawHeight : rawHeight;
  rows.bottomUp = rawHeight > 0;
  // A packed bitmap's rows follow its (unused) colour table; a file says where they are.
  const std::size_t bits = file ? ReadLittle32(data + 10) : kInfoHeader + 4 * static_cast<std::size_t>(coloursUsed);
  rows.stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  if (bits < info + kInfoHeader || bits > size || (size - bits) / rows.stride < static_cast<std::size_t>(rows.height)) {
    return std::nullopt;
  }
  rows.bits = data + bits;
  return rows;
}

bool DecodeBmpInto(const std::uint8_t* data, std::size_t size, const PixelTarget& target) {
  const auto rows = ViewBmp(data, size);
  if (!rows) return false;
  std::uint32_t* out = target(rows->width, rows->height);
  if (out == nullptr) return false;
  for (int y = 0; y < rows->height; ++y) {
    const std::uint8_t* p = rows->Row(y);
    std::uint32_t* row = out + static_cast<std::size_t>(y) * rows->width;
    for (int x = 0; x < rows->width; ++x, p += 3) row[x] = 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
  }
  return true;
}

std::uint32_t AverageRgb(const Bgr24Rows& rows) {
  const std::uint64_t count = static_cast<std::uint64_t>(rows.width) * static_cast<std::uint64_t>(rows.height);
  if (rows.bits == nullptr || count == 0) return 0;
  std::uint64_t sums[3] = {0, 0, 0};  // blue, green, red
  for (int y = 0; y < rows.height; ++y) {
    const std::uint8_t* p = rows.Row(y);
    for (int x = 0; x < rows.width; ++x, p += 3) {
      sums[0] += p[0];
      sums[1] += p[1];
      sums[2] += p[2];
    }
  }
  return static_cast<std::uint32_t>((sums[2] / count) << 16 | (sums[1] / count) << 8 | (sums[0] / count));
}

void ScaleNearest(const Bgr24Rows& source, const std::vector<int>& columns, const std::vector<int>& rows,
                  std::uint32_t* dest, int destStride) {
  for (std::size_t y = 0; y < rows.size(); ++y) {
    std::uint32_t* row = dest + static_cast<std::ptrdiff_t>(y) * destStride;
    if (y > 0 && rows[y] == rows[y - 1]) {
      // A source row shown twice (every row at 2x): the row just made again.
      std::memcpy(row, row - destStride, columns.size() * sizeof(std::uint32_t));
      continue;
    }
    const std::uint8_t* line = source.Row(rows[y]);
    for (std::size_t x = 0; x < columns.size(); ++x) {
      const std::uint8_t* p = line + 3 * static_cast<std::size_t>(columns[x]);
      row[x] = (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
    }
  }
}

std::optional<ImagePixels> DecodeBmp(const std::uint8_t* data, std::size_t size) {
  return DecodeToVector(data, size, &DecodeBmpInto);
}

std::optional<ImagePixels> DecodeSkinImage(const std::uint8_t* data, std::size_t size) {
  if (auto image = DecodePng(data, size)) return image;
  return DecodeBmp(data, size);
}

}  // namespace zeltra
