// Which catalogue code pages convert on this platform. A change in the backend's coverage shows
// up here as a changed list.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "text/code_page_catalogue.h"
#include "text/code_page_conversion.h"

namespace {

// Encodes a short sample and decodes the bytes back.
bool RoundTrips(CodePage codePage) {
  const std::u16string_view sample = u"Voxalon 42";
  ConvertedBuffer encoded;
  size_t byteLength = 0;
  if (!ConvertText(true, encoded, sample.size(), sample.data(), byteLength, codePage))
    return false;
  ConvertedBuffer decoded;
  if (!ConvertText(false, decoded, byteLength, encoded.bytes.data(), byteLength, codePage))
    return false;
  return decoded.text.view() == sample;
}

#ifdef _WIN32
// The conversion calls as Wine provides them; Windows itself may convert more.
const std::set<CodePage> kConverting = {
    -2,    -1,    0,     1,     2,     37,    437,   500,   708,   720,   737,   775,   850,
    852,   855,   857,   860,   861,   862,   863,   864,   865,   866,   869,   874,   875,
    932,   936,   949,   950,   1026,  1250,  1251,  1252,  1253,  1254,  1255,  1256,  1257,
    1258,  1361,  10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10010, 10017,
    10021, 10029, 10079, 10081, 10082, 20127, 20866, 20932, 20949, 21866, 28591, 28592, 28593,
    28594, 28595, 28596, 28597, 28598, 28599, 28603, 28605, 65000, 65001,
};
#else
// ICU: every code page of the backend's converter table, and the program's own two.
const std::set<CodePage> kConverting = {
    -2,    -1,    0,     1,     2,     37,    437,   500,   708,   720,   737,   775,
    850,   852,   855,   857,   858,   860,   861,   862,   863,   864,   865,   866,
    869,   870,   874,   875,   932,   936,   949,   950,   1026,  1047,  1140,  1141,
    1142,  1143,  1144,  1145,  1146,  1147,  1148,  1149,  1250,  1251,  1252,  1253,
    1254,  1255,  1256,  1257,  1258,  10000, 10006, 10007, 10017, 10029, 10081, 20127,
    20273, 20277, 20278, 20280, 20284, 20285, 20290, 20297, 20420, 20424, 20838, 20866,
    20871, 20932, 20936, 20949, 21025, 21866, 28591, 28592, 28593, 28594, 28595, 28596,
    28597, 28598, 28599, 28603, 28605, 38598, 50220, 50221, 50222, 50225, 50227, 50229,
    50930, 50931, 50933, 50935, 50937, 50939, 51932, 51936, 51949, 51950, 52936, 54936,
    57002, 57003, 57004, 57005, 57006, 57007, 57008, 57009, 57010, 57011, 65000, 65001,
};
#endif

}  // namespace

TEST(CodePageCoverage, TheExpectedCodePagesConvert) {
  const CodePageCatalogue catalogue;
  std::set<CodePage> converting;
  std::set<CodePage> failing;
  for (const auto& [codePage, name] : catalogue)
    (RoundTrips(codePage) ? converting : failing).insert(codePage);
  std::string list;
  for (CodePage codePage : converting)
    list += std::to_string(codePage) + ", ";
  std::string failList;
  for (CodePage codePage : failing)
    failList += std::to_string(codePage) + ", ";
  EXPECT_EQ(converting, kConverting) << "converting: " << list << "\nfailing: " << failList;
}
