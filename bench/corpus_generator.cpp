// Writes a deterministic text corpus for the command-line comparisons of bench/compare.
//   make_corpus small DIR [SCALE]   many small files (1 to 16 KB) in nested folders
//   make_corpus large DIR [SCALE]   a few large files
// SCALE (default 1) multiplies the number of small files or the size of each large file. The
// text is ASCII, English-like words in lines of 30 to 110 characters, with LF and CR LF line
// ends (per file, and some files mixing both). A rare needle sits in a few files only; a
// common word is in every file many times. The output depends on nothing but the arguments:
// an own generator (splitmix64) and integer arithmetic only.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSeed = 0x766f78616c6f6e;

constexpr int kSmallFiles = 20000;
constexpr int kSmallMinBytes = 1024;
constexpr int kSmallMaxBytes = 16384;
constexpr int kFolderFanout = 6;  // folders per folder, three levels deep
constexpr int kFolderLevels = 3;
constexpr int kSmallNeedleOneIn = 80;  // one small file in this many holds the needle
constexpr int kSmallNeedleMax = 3;     // that many times at most

constexpr int kLargeFiles = 4;
constexpr std::uint64_t kLargeBytes = std::uint64_t{64} << 20;
constexpr int kLargeFilesWithNeedle = 3;  // the last large file has none
constexpr int kLargeNeedles = 120;        // per large file with the needle, at scale 1

constexpr std::string_view kNeedle = "zebrafish";
constexpr std::string_view kCommon = "the";

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
  }
  // 0 .. bound - 1; the modulo bias is irrelevant here.
  std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
  std::uint64_t Between(std::uint64_t low, std::uint64_t high) {
    return low + Below(high - low + 1);
  }
  bool OneIn(std::uint64_t n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

struct WeightedWord {
  std::string_view word;
  int weight;  // per 1024 words
};

// Frequent short words; several hold the common word inside ("there", "other", "weather").
constexpr WeightedWord kFrequentWords[] = {
    {"the", 72},  {"of", 36},   {"and", 31},  {"to", 28},    {"a", 24},      {"in", 21},
    {"is", 10},   {"that", 10}, {"for", 9},   {"it", 9},     {"as", 7},      {"was", 7},
    {"with", 7},  {"be", 6},    {"by", 6},    {"on", 6},     {"not", 5},     {"he", 5},
    {"this", 5},  {"are", 4},   {"or", 4},    {"from", 4},   {"at", 4},      {"which", 4},
    {"but", 4},   {"have", 4},  {"an", 3},    {"they", 3},   {"we", 3},      {"there", 3},
    {"other", 3}, {"their", 3}, {"were", 3},  {"when", 3},   {"one", 3},     {"all", 3},
    {"would", 3}, {"then", 2},  {"them", 2},  {"these", 2},  {"weather", 1}, {"together", 1},
    {"zebra", 1}, {"fish", 1},  {"river", 1}, {"system", 1}, {"number", 1},  {"water", 1}};

constexpr std::string_view kOnsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "l",  "m",
                                        "n",  "p",  "r",  "s",  "t",  "v",  "w",  "st",
                                        "tr", "ch", "sh", "pl", "gr", "br", "cl", "fr"};
constexpr std::string_view kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "ai", "io", "y"};
constexpr std::string_view kCodas[] = {"", "", "", "n", "r", "s", "t", "l", "nd", "st", "ng", "ck"};
constexpr int kContentWords = 4096;

template <typename T, std::size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[random.Below(N)];
}

class TextMaker {
 public:
  explicit TextMaker(Random& random) : random_(random) {
    for (const auto& entry : kFrequentWords)
      frequentTotal_ += entry.weight;
    while (static_cast<int>(contentWords_.size()) < kContentWords) {
      std::string word;
      const auto syllables = random_.Between(1, 3);
      for (std::uint64_t i = 0; i < syllables; ++i) {
        word += Pick(random_, kOnsets);
        word += Pick(random_, kVowels);
        word += Pick(random_, kCodas);
      }
      if (word.find(kNeedle) == std::string::npos)
        contentWords_.push_back(std::move(word));
    }
  }

  enum class LineEnds { kLf, kCrLf, kMixed };

  // About `bytes` of text. The needle goes in as the next word once the text reaches each of
  // `needleAt` (ascending offsets); with `endWithNeedle` the text ends in it, without a line
  // break after it.
  std::string Make(std::uint64_t bytes, LineEnds ends, const std::vector<std::uint64_t>& needleAt,
                   bool endWithNeedle, bool finalLineBreak) {
    std::string text;
    text.reserve(bytes + 256);
    std::size_t nextNeedle = 0;
    bool sentenceStart = true;
    while (text.size() < bytes) {
      const std::size_t lineStart = text.size();
      const auto lineLength = random_.Between(30, 110);
      if (!random_.OneIn(40)) {  // else an empty line
        while (text.size() - lineStart < lineLength) {
          if (text.size() != lineStart)
            text += ' ';
          std::string_view word;
          if (nextNeedle < needleAt.size() && text.size() >= needleAt[nextNeedle]) {
            word = kNeedle;
            ++nextNeedle;
          } else {
            word = NextWord();
          }
          const std::size_t wordStart = text.size();
          text += word;
          // A needle planted at the very start stays as it is: the file begins with it.
          if (sentenceStart && wordStart != 0)
            text[wordStart] = static_cast<char>(text[wordStart] - 'a' + 'A');
          sentenceStart = random_.OneIn(12);
          if (sentenceStart)
            text += '.';
          else if (random_.OneIn(16))
            text += ',';
        }
      }
      const bool crlf = ends == LineEnds::kCrLf || (ends == LineEnds::kMixed && random_.OneIn(2));
      text += crlf ? "\r\n" : "\n";
    }
    // Needles beyond the end (a text shorter than planned) still go in, on a line of their own.
    for (; nextNeedle < needleAt.size(); ++nextNeedle) {
      text += kNeedle;
      text += '\n';
    }
    if (endWithNeedle) {
      text += kCommon;
      text += ' ';
      text += kNeedle;
    } else if (!finalLineBreak) {
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    }
    return text;
  }

 private:
  std::string_view NextWord() {
    int pick = static_cast<int>(random_.Below(1024));
    if (pick < frequentTotal_) {
      for (const auto& entry : kFrequentWords) {
        if (pick < entry.weight)
          return entry.word;
        pick -= entry.weight;
      }
    }
    // Skewed towards the first content words.
    return contentWords_[random_.Below(random_.Below(kContentWords) + 1)];
  }

  Random& random_;
  int frequentTotal_ = 0;
  std::vector<std::string> contentWords_;
};

struct Count {
  std::uint64_t occurrences = 0;
  std::uint64_t files = 0;
};

struct Totals {
  std::uint64_t folders = 0;
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  Count needle;
  Count common;
};

// Non-overlapping occurrences, as a plain search finds them.
void CountIn(std::string_view text, std::string_view word, Count& count) {
  std::uint64_t found = 0;
  for (auto at = text.find(word); at != std::string_view::npos;
       at = text.find(word, at + word.size()))
    ++found;
  count.occurrences += found;
  count.files += found != 0 ? 1 : 0;
}

bool WriteFile(const fs::path& path, const std::string& text, Totals& totals) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "make_corpus: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
    return false;
  }
  ++totals.files;
  totals.bytes += text.size();
  CountIn(text, kNeedle, totals.needle);
  CountIn(text, kCommon, totals.common);
  return true;
}

TextMaker::LineEnds PickLineEnds(Random& random) {
  const auto pick = random.Below(20);
  return pick < 9    ? TextMaker::LineEnds::kLf
         : pick < 18 ? TextMaker::LineEnds::kCrLf
                     : TextMaker::LineEnds::kMixed;
}

bool MakeSmall(const fs::path& root, double scale, Totals& totals) {
  Random random(kSeed);
  TextMaker maker(random);
  // Every folder of the tree, the root first, parents before children.
  std::vector<fs::path> folders{root};
  static constexpr const char* kLevelNames[] = {"part", "section", "chapter"};
  for (std::size_t first = 0, level = 0; level < kFolderLevels; ++level) {
    const std::size_t last = folders.size();
    for (std::size_t parent = first; parent < last; ++parent) {
      for (int i = 1; i <= kFolderFanout; ++i)
        folders.push_back(folders[parent] / (kLevelNames[level] + std::to_string(i)));
    }
    first = last;
  }
  for (const auto& folder : folders) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
      std::fprintf(stderr, "make_corpus: cannot create %s: %s\n", folder.c_str(),
                   error.message().c_str());
      return false;
    }
  }
  totals.folders = folders.size();

  static constexpr const char* kExtensions[] = {"txt", "txt", "txt", "txt", "log", "md", "text"};
  const auto files = std::max<long long>(1, std::llround(kSmallFiles * scale));
  for (long long i = 0; i < files; ++i) {
    const auto& folder = folders[random.Below(folders.size())];
    const std::string name =
        "note" + std::to_string(i) + "." + kExtensions[random.Below(std::size(kExtensions))];
    const auto bytes = random.Between(kSmallMinBytes, kSmallMaxBytes);
    const auto ends = PickLineEnds(random);
    std::vector<std::uint64_t> needleAt;
    bool endWithNeedle = false;
    if (random.OneIn(kSmallNeedleOneIn)) {
      const auto count = random.Between(1, kSmallNeedleMax);
      for (std::uint64_t n = 0; n < count; ++n)
        needleAt.push_back(random.OneIn(8) ? 0 : random.Below(bytes));
      std::sort(needleAt.begin(), needleAt.end());
      endWithNeedle = random.OneIn(8);
    }
    const bool finalLineBreak = !random.OneIn(10);
    if (!WriteFile(folder / name, maker.Make(bytes, ends, needleAt, endWithNeedle, finalLineBreak),
                   totals))
      return false;
  }
  return true;
}

bool MakeLarge(const fs::path& root, double scale, Totals& totals) {
  Random random(kSeed + 1);
  TextMaker maker(random);
  std::error_code error;
  fs::create_directories(root, error);
  if (error) {
    std::fprintf(stderr, "make_corpus: cannot create %s: %s\n", root.c_str(),
                 error.message().c_str());
    return false;
  }
  totals.folders = 1;
  const auto bytes = std::max<std::uint64_t>(
      4096, static_cast<std::uint64_t>(std::llround(static_cast<double>(kLargeBytes) * scale)));
  const auto needles = std::max<long long>(1, std::llround(kLargeNeedles * scale));
  constexpr TextMaker::LineEnds kEnds[] = {TextMaker::LineEnds::kLf, TextMaker::LineEnds::kCrLf,
                                           TextMaker::LineEnds::kMixed, TextMaker::LineEnds::kCrLf};
  for (int i = 0; i < kLargeFiles; ++i) {
    std::vector<std::uint64_t> needleAt;
    if (i < kLargeFilesWithNeedle) {
      for (long long n = 0; n < needles; ++n)
        needleAt.push_back(random.Below(bytes));
      if (i == 0)
        needleAt.push_back(0);  // the first word of the file
      std::sort(needleAt.begin(), needleAt.end());
    }
    const bool endWithNeedle = i == 1;
    const std::string text =
        maker.Make(bytes, kEnds[i % std::size(kEnds)], needleAt, endWithNeedle, i != 2);
    if (!WriteFile(root / ("large" + std::to_string(i + 1) + ".txt"), text, totals))
      return false;
  }
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: make_corpus small|large DIR [SCALE]\n"
               "  small: %d files of %d to %d bytes in %d levels of folders\n"
               "  large: %d files of %llu bytes\n"
               "  SCALE (default 1) multiplies the number of small files or the size of the "
               "large ones\n",
               kSmallFiles, kSmallMinBytes, kSmallMaxBytes, kFolderLevels, kLargeFiles,
               static_cast<unsigned long long>(kLargeBytes));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4)
    return Usage();
  const std::string_view kind = argv[1];
  if (kind != "small" && kind != "large")
    return Usage();
  double scale = 1;
  if (argc == 4) {
    char* end = nullptr;
    scale = std::strtod(argv[3], &end);
    if (end == argv[3] || *end != '\0' || !(scale > 0) || scale > 100)
      return Usage();
  }
  const fs::path root = argv[2];
  std::error_code error;
  if (fs::exists(root, error) && !fs::is_empty(root, error)) {
    std::fprintf(stderr, "make_corpus: %s is not empty\n", root.c_str());
    return 1;
  }

  Totals totals;
  if (!(kind == "small" ? MakeSmall(root, scale, totals) : MakeLarge(root, scale, totals)))
    return 1;
  std::printf("corpus: %s, scale %g, in %s\n", argv[1], scale, root.c_str());
  std::printf("folders: %llu\n", static_cast<unsigned long long>(totals.folders));
  std::printf("files: %llu\n", static_cast<unsigned long long>(totals.files));
  std::printf("bytes: %llu\n", static_cast<unsigned long long>(totals.bytes));
  std::printf("needle: %.*s (%llu occurrences in %llu files)\n", static_cast<int>(kNeedle.size()),
              kNeedle.data(), static_cast<unsigned long long>(totals.needle.occurrences),
              static_cast<unsigned long long>(totals.needle.files));
  std::printf("common: %.*s (%llu occurrences in %llu files)\n", static_cast<int>(kCommon.size()),
              kCommon.data(), static_cast<unsigned long long>(totals.common.occurrences),
              static_cast<unsigned long long>(totals.common.files));
  return 0;
}
