// Text helpers for the program's UTF-16 file formats and labels.
//
// Every own file stores UTF-16 code units; the core keeps them in
// std::u16string unchanged. The few printf formats the formats use live here
// so that each is written exactly once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zeltra {

// "%d" and "%u".
std::u16string Dec(long long value);
std::u16string Udec(unsigned long long value);
// "%.2X" and "%.4X": upper-case, zero-padded to at least that many digits.
std::u16string Hex2(unsigned value);
std::u16string Hex4(unsigned value);
// "0x%4X": upper-case, padded with spaces (not zeros) to four characters.
std::u16string HexSpacePadded4(unsigned value);

// Decimal conversion of the leading digits, as the C library's wide "atoi":
// leading white space, an optional sign, then digits. No number reads as 0;
// values beyond the int range saturate.
int ParseDecimal(std::u16string_view text);
// Hexadecimal conversion of the leading digits with an optional "0x"/"0X"
// prefix after white space and sign, as wcstoul with base 16. No number reads
// as 0; values beyond 32 bits saturate.
std::uint32_t ParseHex(std::u16string_view text);
// What "0x%4X" wrote, read back: as ParseHex, but spaces between the "0x"
// and the digits (the padding of a value below 0x1000) are skipped.
std::uint32_t ParseSpacePaddedHex(std::u16string_view text);
// Exactly up to `width` characters at `pos` read as hexadecimal (a field cut
// by position from a fixed-width line). Characters beyond the text end are
// simply not there: "7" reads as 7, an empty or non-hex cut reads as 0.
std::uint32_t ParseHexField(std::u16string_view text, std::size_t pos, std::size_t width);

// A text written into one line of a positional file must stay one line, or
// every later line would shift: line feeds become spaces.
std::u16string OneLine(std::u16string_view text);

// ASCII-only literal widening for labels and keys written in source.
std::u16string Ascii(std::string_view ascii);
// UTF-8 <-> UTF-16 for tests, the command line and the few places that meet
// narrow text. Ill-formed input is replaced by U+FFFD.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// A path stored in a file (always in Windows form, with backslashes) as a
// path of this platform.
std::filesystem::path PathFromStored(std::u16string_view stored);
// A path of this platform in the stored form (backslashes on Windows; the
// native separators elsewhere, so the round trip is exact).
std::u16string PathToStored(const std::filesystem::path& path);

}  // namespace zeltra
