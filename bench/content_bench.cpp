// Content processing over a generated corpus in code page 1252: a few large files (48 MB each)
// and many small ones (1 to 16 KB). Find only and Replace of a rare word through
// ProcessFileContent, then the stages of one large file on their own: read, decode, search of
// the decoded text, search of the bytes (as single-byte code pages are searched), encode and
// write (a whole file, flushed). MB/s counts file bytes (10^6 per MB); files/s counts files.
// The corpus lies in the temporary folder for the time of the program; its files sit in the
// page cache after the first pass.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/heap_block.h"
#include "processing/byte_table.h"
#include "processing/content_processing.h"
#include "processing/find_in_pieces.h"
#include "processing/search/plain_scan.h"
#include "processing/whole_file.h"
#include "run/file_processors.h"
#include "run/record/run_channel.h"
#include "run/search_worker.h"
#include "text/code_page_conversion.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLargeFiles = 3;
constexpr size_t kLargeBytes = size_t{48} << 20;
constexpr int kSmallFiles = 4000;
// One small file in this many holds the rare word once; a large file holds it three times.
constexpr int kSmallWithWord = 50;
constexpr const char* kWord = "Zyzzogeton";

[[maybe_unused]] const bool kHeapAsInARun = (platform::KeepFreedBlocksForReuse(), true);

// Words with a skewed frequency, some Western European letters, CR LF line breaks.
std::string MakeText(size_t bytes, std::mt19937& random, int words) {
  static const char* const kWords[] = {"the",
                                       "of",
                                       "and",
                                       "to",
                                       "in",
                                       "a",
                                       "is",
                                       "that",
                                       "for",
                                       "it",
                                       "as",
                                       "was",
                                       "with",
                                       "be",
                                       "by",
                                       "on",
                                       "not",
                                       "he",
                                       "this",
                                       "are",
                                       "or",
                                       "caf\xe9",
                                       "na\xefve",
                                       "stra\xdf"
                                       "e",
                                       "gro\xdf",
                                       "\xe9t\xe9",
                                       "Voil\xe0",
                                       "system",
                                       "file",
                                       "folder",
                                       "replace",
                                       "program",
                                       "character",
                                       "number",
                                       "window"};
  std::geometric_distribution<int> pick(0.12);
  std::uniform_int_distribution<int> lineLength(40, 100);
  std::string text;
  text.reserve(bytes + 128);
  size_t lineStart = 0;
  while (text.size() < bytes) {
    const int index = pick(random) % static_cast<int>(std::size(kWords));
    text += kWords[index];
    if (text.size() - lineStart > static_cast<size_t>(lineLength(random))) {
      text += "\r\n";
      lineStart = text.size();
    } else {
      text += ' ';
    }
  }
  text.resize(bytes);
  std::uniform_int_distribution<size_t> at(0, bytes - 32);
  for (int i = 0; i < words; ++i)
    text.replace(at(random), std::char_traits<char>::length(kWord), kWord);
  return text;
}

class Corpus {
 public:
  Corpus() {
    root_ = fs::temp_directory_path() / ("voxalon-content-bench-" + std::to_string(std::rand()));
    fs::create_directories(root_ / "small");
    std::mt19937 random(7);
    for (int i = 0; i < kLargeFiles; ++i)
      Write("large" + std::to_string(i) + ".txt", MakeText(kLargeBytes, random, 3), large_);
    std::uniform_int_distribution<size_t> size(1024, 16384);
    for (int i = 0; i < kSmallFiles; ++i) {
      Write("small/" + std::to_string(i) + ".txt",
            MakeText(size(random), random, i % kSmallWithWord == 0 ? 1 : 0), small_);
    }
  }
  ~Corpus() {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  struct Entry {
    std::u16string folder;
    std::u16string name;
    std::uint64_t size;
  };
  const std::vector<Entry>& large() const { return large_; }
  const std::vector<Entry>& small() const { return small_; }

 private:
  void Write(const std::string& relative, const std::string& content, std::vector<Entry>& list) {
    const fs::path path = root_ / relative;
    std::ofstream(path, std::ios::binary) << content;
    list.push_back({path.parent_path().u16string(), path.filename().u16string(), content.size()});
  }

  fs::path root_;
  std::vector<Entry> large_;
  std::vector<Entry> small_;
};

const Corpus& TheCorpus() {
  static const Corpus corpus;
  return corpus;
}

// The window of a run that only counts.
class CountingWindow : public RunChannel {
 public:
  void SendResult(ResultMessage message) override {
    if (message.file)
      matches += message.file->matches.size();
    if (message.status == ResultStatus::FileError)
      ++errors;
  }
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info&, const CFileResult&) override {
    return ConfirmAnswer::Yes;
  }
  size_t matches = 0;
  size_t errors = 0;
};

void SetRates(benchmark::State& state, std::uint64_t bytes, size_t files) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["files/s"] =
      benchmark::Counter(static_cast<double>(files), benchmark::Counter::kIsIterationInvariantRate);
}

// Arguments: 0 large files, 1 small files; 0 Find only, 1 Replace; 1 case-sensitive; 1 for a
// word that no file holds; Find only reads every file in pieces of this many KiB, or (0) whole,
// or (-1) as the program does.
void BM_Run(benchmark::State& state) {
  PieceSizes sizes = kPieceSizes;
  if (state.range(4) == 0)
    sizes.threshold = UINT64_MAX;
  else if (state.range(4) > 0)
    sizes = {0, static_cast<size_t>(state.range(4)) << 10};
  const PieceSizes programSizes = SetPieceSizes(sizes);
  const auto& files = state.range(0) == 0 ? TheCorpus().large() : TheCorpus().small();
  const bool replace = state.range(1) == 1;
  CountingWindow window;
  RunParameters parameters;
  parameters.settings.inputCodePage = parameters.settings.outputCodePage = 1252;
  parameters.caseSensitive = state.range(2) == 1;
  parameters.targetWindow = &window;
  parameters.action = replace ? ActionType::Replace : ActionType::FindOnly;
  SearchWorker worker;
  worker.parameters = &parameters;
  std::uint64_t bytes = 0;
  for (const auto& file : files)
    bytes += file.size;

  // Replace swaps the word for one of the same length and back, so every pass changes the same
  // files and the corpus ends as it began.
  bool forward = true;
  const bool absent = state.range(3) == 1;
  auto pass = [&] {
    parameters.findText = absent ? u"Zyzzogetox" : forward ? u"Zyzzogeton" : u"Qyzzogeton";
    parameters.replaceText = forward ? u"Qyzzogeton" : u"Zyzzogeton";
    if (replace)
      forward = !forward;
    for (const auto& file : files) {
      auto entry = std::make_unique<CFileResult>();
      entry->folder = file.folder;
      entry->name = file.name;
      entry->size = file.size;
      ProcessFileContent(worker, std::move(entry));
    }
  };
  for (auto _ : state)
    pass();
  if (window.errors != 0)
    state.SkipWithError("a file failed");
  state.counters["matches/pass"] =
      static_cast<double>(window.matches) / static_cast<double>(state.iterations());
  if (!forward)
    pass();
  SetRates(state, bytes, files.size());
  SetPieceSizes(programSizes);
}

// The stages of one large file.
const Corpus::Entry& LargeFile() {
  return TheCorpus().large().front();
}

std::u16string PathOf(const Corpus::Entry& entry) {
  return (fs::path(entry.folder) / fs::path(entry.name)).u16string();
}

FileBytes ReadLarge() {
  platform::File file;
  platform::ErrorCode error = 0;
  FileBytes bytes;
  if (!file.Open(PathOf(LargeFile()), platform::FileAccess::Read, platform::FileShare::Read,
                 error) ||
      ReadWholeFile(file, bytes) != 0)
    std::abort();
  return bytes;
}

TextBuffer DecodeLarge(const FileBytes& bytes) {
  ConvertedBuffer buffer;
  size_t byteLength = 0;
  if (!ConvertText(false, buffer, bytes.size(), bytes.view().data(), byteLength, 1252))
    std::abort();
  return std::move(buffer.text);
}

void BM_Read(benchmark::State& state) {
  for (auto _ : state) {
    FileBytes bytes = ReadLarge();
    benchmark::DoNotOptimize(bytes.view().data());
  }
  SetRates(state, LargeFile().size, 1);
}

void BM_Decode(benchmark::State& state) {
  const FileBytes bytes = ReadLarge();
  for (auto _ : state) {
    TextBuffer text = DecodeLarge(bytes);
    benchmark::DoNotOptimize(text.data());
  }
  SetRates(state, LargeFile().size, 1);
}

// Argument: 1 case-sensitive.
void BM_Search(benchmark::State& state) {
  TextBuffer text = DecodeLarge(ReadLarge());
  const MatchConsent consent = [](const CFileResult::replace_info&, const ChangeDescription&) {
    return true;
  };
  for (auto _ : state) {
    std::vector<CFileResult::replace_info> matches;
    if (ScanPlainText(text, ActionType::FindOnly, u"Zyzzogeton", u"", state.range(0) == 1, consent,
                      matches) != 0 ||
        matches.size() != 3)
      state.SkipWithError("unexpected matches");
  }
  SetRates(state, LargeFile().size, 1);
}

// The same search on the file's bytes, as single-byte code pages are searched.
void BM_SearchBytes(benchmark::State& state) {
  const FileBytes bytes = ReadLarge();
  ByteTable table;
  if (!OneToOneByteTable(1252, table))
    std::abort();
  for (auto _ : state) {
    std::vector<CFileResult::replace_info> matches;
    if (FindPlainTextInBytes(bytes.view(), table, u"Zyzzogeton", state.range(0) == 1, matches) !=
            0 ||
        matches.size() != 3)
      state.SkipWithError("unexpected matches");
  }
  SetRates(state, LargeFile().size, 1);
}

void BM_Encode(benchmark::State& state) {
  const TextBuffer text = DecodeLarge(ReadLarge());
  for (auto _ : state) {
    ConvertedBuffer buffer;
    size_t byteLength = 0;
    if (!ConvertText(true, buffer, text.length(), text.data(), byteLength, 1252))
      state.SkipWithError("encoding failed");
    benchmark::DoNotOptimize(buffer.bytes.data());
  }
  SetRates(state, LargeFile().size, 1);
}

// The write of a changed file: new length, the bytes, the flush.
void BM_Write(benchmark::State& state) {
  const FileBytes bytes = ReadLarge();
  platform::File file;
  platform::ErrorCode error = 0;
  if (!file.Open(PathOf(LargeFile()), platform::FileAccess::ReadWrite, platform::FileShare::Read,
                 error))
    std::abort();
  for (auto _ : state) {
    if (WriteWholeFile(file, bytes.view(), bytes.view()) != 0)
      state.SkipWithError("write failed");
  }
  SetRates(state, LargeFile().size, 1);
}

}  // namespace

BENCHMARK(BM_Run)
    ->ArgNames({"small", "replace", "case", "absent", "pieceKiB"})
    ->Args({0, 0, 1, 0, -1})
    ->Args({0, 0, 0, 0, -1})
    ->Args({0, 0, 1, 0, 0})
    ->Args({0, 0, 1, 0, 128})
    ->Args({0, 0, 1, 0, 512})
    ->Args({0, 0, 1, 0, 2048})
    ->Args({0, 1, 1, 0, -1})
    ->Args({0, 1, 1, 1, -1})
    ->Args({1, 0, 1, 0, -1})
    ->Args({1, 1, 1, 0, -1})
    ->Args({1, 1, 1, 1, -1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->ArgName("case")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchBytes)->ArgName("case")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond)->UseRealTime();
