#include "ui/skin_image_files.h"

#include <gtest/gtest.h>

#include "ui/skin_pixels.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace zeltra {
namespace {

// A 24-bit bitmap of w x h whose pixel (x, y) has blue x, green y and red
// x + y, as a file or packed, rows stored bottom-up (or top-down).
std::vector<std::uint8_t> MakeBmp(int w, int h, bool file, bool topDown, std::uint32_t colours = 0) {
  std::vector<std::uint8_t> out;
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  const std::uint32_t bits = (file ? 14u : 0u) + 40u + 4u * colours;
  if (file) {
    out.insert(out.end(), {'B', 'M'});
    put(bits + static_cast<std::uint32_t>(stride * h), 4);
    put(0, 4);
    put(bits, 4);
  }
  put(40, 4);
  put(static_cast<std::uint32_t>(w), 4);
  put(static_cast<std::uint32_t>(topDown ? -h : h), 4);
  put(1, 2);
  put(24, 2);
  for (int i = 0; i < 4; ++i) put(0, 4);  // compression, size, resolution
  put(colours, 4);
  put(0, 4);
  for (std::uint32_t i = 0; i < colours; ++i) put(0x00FFFFFF, 4);
  for (int row = 0; row < h; ++row) {
    const int y = topDown ? row : h - 1 - row;
    for (int x = 0; x < w; ++x) out.insert(out.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                                       static_cast<std::uint8_t>(x + y)});
    for (std::size_t pad = static_cast<std::size_t>(w) * 3; pad < stride; ++pad) out.push_back(0xEE);
  }
  return out;
}

TEST(DecodeBmp, ReadsFilesAndPackedBitmapsEitherWayUp) {
  for (const bool file : {true, false}) {
    for (const bool topDown : {false, true}) {
      const auto bytes = MakeBmp(5, 3, file, topDown, file ? 0 : 2);  // 5 pixels: rows padded by one byte
      const auto image = DecodeBmp(bytes.data(), bytes.size());
      ASSERT_TRUE(image) << file << topDown;
      ASSERT_EQ(image->width, 5);
      ASSERT_EQ(image->height, 3);
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
          EXPECT_EQ(image->argb[static_cast<std::size_t>(y) * 5 + x],
                    0xFF000000u | static_cast<std::uint32_t>(x + y) << 16 | static_cast<std::uint32_t>(y) << 8 |
                        static_cast<std::uint32_t>(x));
        }
      }
    }
  }
  // Read in place: the same pixels stretched and averaged as the decoded ones.
  for (const bool topDown : {false, true}) {
    const auto bytes = MakeBmp(5, 3, false, topDown);
    const auto rows = ViewBmp(bytes.data(), bytes.size());
    const auto image = DecodeBmp(bytes.data(), bytes.size());
    ASSERT_TRUE(rows && image);
    const std::vector<int> columns{0, 0, 1, 2, 2, 4, 3};
    const std::vector<int> lines{2, 2, 0, 1};
    std::vector<std::uint32_t> ours(columns.size() * lines.size()), theirs(ours.size());
    ScaleNearest(*rows, columns, lines, ours.data(), static_cast<int>(columns.size()));
    ScaleNearest(image->argb.data(), 5, columns, lines, theirs.data(), static_cast<int>(columns.size()));
    for (auto& pixel : theirs) pixel &= 0xFFFFFF;
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(AverageRgb(*rows), AverageRgb(image->argb.data(), image->argb.size()));
  }
  // Short of its last row, another depth, compressed, no rows: left to the system.
  auto bytes = MakeBmp(5, 3, true, false);
  EXPECT_FALSE(DecodeBmp(bytes.data(), bytes.size() - 1));
  for (std::size_t cut = 0; cut < 60; ++cut) EXPECT_FALSE(DecodeBmp(bytes.data(), cut));
  auto deeper = bytes;
  deeper[14 + 14] = 32;
  EXPECT_FALSE(DecodeBmp(deeper.data(), deeper.size()));
  auto compressed = bytes;
  compressed[14 + 16] = 1;
  EXPECT_FALSE(DecodeBmp(compressed.data(), compressed.size()));
  auto past = bytes;
  past[10] = 0xF0;  // the rows said to start past the end
  EXPECT_FALSE(DecodeBmp(past.data(), past.size()));
  const auto empty = MakeBmp(5, 0, true, false);
  EXPECT_FALSE(DecodeBmp(empty.data(), empty.size()));
}

}  // namespace
}  // namespace zeltra

// zlib is the yardstick (Linux builds only): it makes the streams and says
// what they hold.
#if __has_include(<zlib.h>)
#include <zlib.h>

namespace zeltra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Deflate(const Bytes& data, int level, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
  Bytes out(deflateBound(&z, data.size()) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& png, const char* type, const Bytes& body) {
  Put32(png, static_cast<std::uint32_t>(body.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

struct PngParts {
  int width = 0;
  int height = 0;
  int colourType = 6;
  int depth = 8;
  int interlace = 0;
  Bytes palette;
  Bytes alphas;     // tRNS
  Bytes filtered;   // rows with their filter bytes
  std::vector<std::pair<std::string, Bytes>> extra;  // before IDAT
};

PngParts Parts(int width, int height, int colourType) {
  PngParts parts;
  parts.width = width;
  parts.height = height;
  parts.colourType = colourType;
  return parts;
}

Bytes MakePng(const PngParts& p, int level = 9) {
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32(header, static_cast<std::uint32_t>(p.width));
  Put32(header, static_cast<std::uint32_t>(p.height));
  header.insert(header.end(), {static_cast<std::uint8_t>(p.depth), static_cast<std::uint8_t>(p.colourType), 0, 0,
                               static_cast<std::uint8_t>(p.interlace)});
  Chunk(png, "IHDR", header);
  for (const auto& [type, body] : p.extra) Chunk(png, type.c_str(), body);
  if (!p.palette.empty()) Chunk(png, "PLTE", p.palette);
  if (!p.alphas.empty()) Chunk(png, "tRNS", p.alphas);
  Bytes stream{0x78, 0xDA};
  const Bytes deflated = Deflate(p.filtered, level, Z_DEFAULT_STRATEGY);
  stream.insert(stream.end(), deflated.begin(), deflated.end());
  Put32(stream, static_cast<std::uint32_t>(adler32(1, p.filtered.data(), static_cast<uInt>(p.filtered.size()))));
  // In two IDAT chunks: the stream may be split anywhere.
  const std::size_t half = stream.size() / 2;
  Chunk(png, "IDAT", Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(half)));
  Chunk(png, "IDAT", Bytes(stream.begin() + static_cast<std::ptrdiff_t>(half), stream.end()));
  Chunk(png, "IEND", {});
  return png;
}

// Rows of `channels` samples filtered with filter (row % 5), the encoder's
// side of each filter written out plainly.
Bytes FilterRows(const Bytes& samples, int width, int height, int channels) {
  const std::size_t stride = static_cast<std::size_t>(width) * channels;
  Bytes out;
  for (int y = 0; y < height; ++y) {
    const int filter = y % 5;
    out.push_back(static_cast<std::uint8_t>(filter));
    for (std::size_t x = 0; x < stride; ++x) {
      const auto at = [&](int row, std::size_t col) -> int {
        return row < 0 ? 0 : samples[static_cast<std::size_t>(row) * stride + col];
      };
      const int a = x >= static_cast<std::size_t>(channels) ? at(y, x - channels) : 0;
      const int b = at(y - 1, x);
      const int c = x >= static_cast<std::size_t>(channels) ? at(y - 1, x - channels) : 0;
      const int p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
      const int predictors[5] = {0, a, b, (a + b) / 2, paeth};
      out.push_back(static_cast<std::uint8_t>(at(y, x) - predictors[filter]));
    }
  }
  return out;
}

Bytes Noise(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(random() % 7 * 37);  // a few values: runs and repeats
  return out;
}

// The zlib stream of a PNG's IDAT chunks.
Bytes IdatStream(const Bytes& png) {
  Bytes stream;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::size_t length = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    if (std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8)) == "IDAT") {
      stream.insert(stream.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                    png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    }
    at += 12 + length;
  }
  return stream;
}

TEST(Inflate, TakesWhatZlibMakesAtEveryLevelAndStrategy) {
  const Bytes data = Noise(70000, 1);  // past one 32 KB window and one stored block
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
    for (int level : {0, 1, 6, 9}) {
      const Bytes deflated = Deflate(data, level, strategy);
      Bytes out;
      ASSERT_TRUE(Inflate(deflated.data(), deflated.size(), data.size(), out))
          << "level " << level << " strategy " << strategy;
      EXPECT_EQ(out, data);
    }
  }
  // The images as they ship: their streams as zlib reads them, and whole.
  int images = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZELTRA_SOURCE_DIR "/res")) {
    if (entry.path().extension() != ".png") continue;
    std::ifstream file(entry.path(), std::ios::binary);
    const Bytes png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const Bytes stream = IdatStream(png);
    Bytes theirs(4 << 20);
    uLongf size = static_cast<uLongf>(theirs.size());
    ASSERT_EQ(uncompress(theirs.data(), &size, stream.data(), static_cast<uLong>(stream.size())), Z_OK) << entry.path();
    theirs.resize(size);
    Bytes ours;
    ASSERT_TRUE(Inflate(stream.data() + 2, stream.size() - 6, theirs.size(), ours)) << entry.path();
    EXPECT_EQ(ours, theirs) << entry.path();
    EXPECT_TRUE(DecodePng(png.data(), png.size())) << entry.path();
    ++images;
  }
  EXPECT_GT(images, 50);
}

TEST(Inflate, RefusesDamagedStreamsAndOtherSizes) {
  const Bytes data = Noise(5000, 2);
  const Bytes good = Deflate(data, 9, Z_DEFAULT_STRATEGY);
  Bytes out;
  EXPECT_FALSE(Inflate(good.data(), good.size(), data.size() - 1, out));  // more than expected
  EXPECT_FALSE(Inflate(good.data(), good.size(), data.size() + 1, out));  // less
  for (std::size_t cut = 0; cut < good.size(); cut += 7) {
    EXPECT_FALSE(Inflate(good.data(), cut, data.size(), out)) << "cut at " << cut;
  }
  // Damage anywhere: never a crash, never more than asked for.
  std::mt19937 random(3);
  for (int i = 0; i < 300; ++i) {
    Bytes bad = good;
    bad[random() % bad.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    if (Inflate(bad.data(), bad.size(), data.size(), out)) {
      EXPECT_EQ(out.size(), data.size());
    }
  }
  // A stored block whose length and its complement disagree.
  const Bytes stored{0x01, 0x05, 0x00, 0xFA, 0xFE, 'h', 'e', 'l', 'l', 'o'};
  EXPECT_FALSE(Inflate(stored.data(), stored.size(), 5, out));
  const Bytes fine{0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'};
  ASSERT_TRUE(Inflate(fine.data(), fine.size(), 5, out));
  EXPECT_EQ(std::string(out.begin(), out.end()), "hello");
}

TEST(DecodePng, UndoesEveryFilterForEveryColourType) {
  const int w = 7, h = 10;  // two rows of each filter
  const Bytes samples = Noise(static_cast<std::size_t>(w) * h * 4, 4);
  const auto sample = [&](int x, int y, int c) { return samples[(static_cast<std::size_t>(y) * w + x) * 4 + c]; };
  struct Case {
    int type;
    int channels;
  };
  for (const Case& c : {Case{0, 1}, Case{2, 3}, Case{3, 1}, Case{4, 2}, Case{6, 4}}) {
    Bytes rows;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        for (int k = 0; k < c.channels; ++k) rows.push_back(c.type == 3 ? sample(x, y, 0) % 5 : sample(x, y, k));
      }
    }
    PngParts parts = Parts(w, h, c.type);
    if (c.type == 3) {
      parts.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};
      parts.alphas = {255, 0, 128};  // the last two entries stay opaque
    }
    parts.filtered = FilterRows(rows, w, h, c.channels);
    const Bytes png = MakePng(parts);
    const auto image = DecodePng(png.data(), png.size());
    ASSERT_TRUE(image) << "colour type " << c.type;
    ASSERT_EQ(image->width, w);
    ASSERT_EQ(image->height, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* s = rows.data() + (static_cast<std::size_t>(y) * w + x) * c.channels;
        std::uint32_t want = 0;
        switch (c.type) {
          case 0: want = 0xFF000000u | s[0] * 0x010101u; break;
          case 2: want = 0xFF000000u | s[0] << 16 | s[1] << 8 | s[2]; break;
          case 3: {
            const std::uint32_t alpha = s[0] < 3 ? parts.alphas[s[0]] : 255;
            want = alpha << 24 | parts.palette[s[0] * 3] << 16 | parts.palette[s[0] * 3 + 1] << 8 |
                   parts.palette[s[0] * 3 + 2];
            break;
          }
          case 4: want = static_cast<std::uint32_t>(s[1]) << 24 | s[0] * 0x010101u; break;
          default: want = static_cast<std::uint32_t>(s[3]) << 24 | s[0] << 16 | s[1] << 8 | s[2]; break;
        }
        ASSERT_EQ(image->argb[static_cast<std::size_t>(y) * w + x], want) << "type " << c.type << " at " << x << "," << y;
      }
    }
  }
}

TEST(DecodePng, LeavesToTheSystemWhatItDoesNotTakeAndRefusesDamage) {
  const int w = 4, h = 3;
  PngParts plain = Parts(w, h, 6);
  plain.filtered = FilterRows(Noise(static_cast<std::size_t>(w) * h * 4, 5), w, h, 4);
  const Bytes good = MakePng(plain);
  ASSERT_TRUE(DecodePng(good.data(), good.size()));

  // Not taken: 16 bits, interlaced, a colour space, a colour key, a size past the limit.
  PngParts deep = plain;
  deep.depth = 16;
  PngParts interlaced = plain;
  interlaced.interlace = 1;
  PngParts gamma = plain;
  gamma.extra = {{"gAMA", {0, 0, 0xB1, 0x8F}}};
  PngParts key = plain;
  key.colourType = 2;
  key.alphas = {0, 1, 0, 2, 0, 3};
  PngParts huge = plain;
  huge.width = kImageMaxSide + 1;
  for (const PngParts* p : {&deep, &interlaced, &gamma, &key, &huge}) {
    const Bytes png = MakePng(*p);
    EXPECT_FALSE(DecodePng(png.data(), png.size()));
  }
  // A text chunk is passed over.
  PngParts text = plain;
  text.extra = {{"tEXt", {'a', 0, 'b'}}};
  const Bytes withText = MakePng(text);
  EXPECT_TRUE(DecodePng(withText.data(), withText.size()));

  // Cut anywhere, or any byte changed: nothing (every chunk has its CRC, the
  // stream its checksum), and never a crash.
  for (std::size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(DecodePng(good.data(), cut)) << cut;
  for (std::size_t at = 8; at < good.size(); ++at) {
    Bytes bad = good;
    bad[at] ^= 0x10;
    EXPECT_FALSE(DecodePng(bad.data(), bad.size())) << at;
  }
  // Rows that hold less or more than the header says, with valid checks.
  for (int rowsMade : {h - 1, h + 1}) {
    PngParts wrong = plain;
    wrong.filtered = FilterRows(Noise(static_cast<std::size_t>(w) * rowsMade * 4, 6), w, rowsMade, 4);
    const Bytes png = MakePng(wrong);
    EXPECT_FALSE(DecodePng(png.data(), png.size())) << rowsMade;
  }
  // An unknown filter.
  PngParts filter = plain;
  filter.filtered[0] = 5;
  const Bytes badFilter = MakePng(filter);
  EXPECT_FALSE(DecodePng(badFilter.data(), badFilter.size()));
}

}  // namespace
}  // namespace zeltra
#endif
