// Find-only searches over 25 MB of English-like UTF-16 text, each beside the same search with
// PCRE2's 16-bit interpreter (no JIT); a table of the time ratios follows the usual report.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "run/record/run_channel.h"
#include "run/record/run_parameters.h"
#include "text/regex/regex_compiler.h"
#include "processing/search/regex_driver.h"
#include "text/text_buffer.h"

namespace {

constexpr size_t kTextBytes = 25u << 20;

struct Case {
  const char* name;
  const char16_t* pattern;      // this program's dialect
  const char16_t* pcrePattern;  // the same search for PCRE2
  bool caseSensitive;
};

const Case kCases[] = {
    {"rare_literal", u"zebrafish", u"zebrafish", true},
    {"literal_then_letters", u"zebra\\w", u"zebra[a-zA-Z]+", true},
    {"digit_runs", u"\\z", u"[0-9]+", true},
    {"alternation", u"(fish)|(bird)", u"(?:fish)|(?:bird)", true},
    {"caseless_literal", u"ZebraFish", u"ZebraFish", false},
};

// Words with a skewed frequency, sentences, CR LF line breaks, numbers now and then, and a rare
// "zebrafish".
std::u16string MakeEnglishLikeText() {
  static const char* const kWords[] = {
      "the",     "of",     "and",     "to",      "a",       "in",      "is",      "it",
      "that",    "was",    "for",     "on",      "are",     "with",    "as",      "they",
      "be",      "at",     "one",     "have",    "this",    "from",    "by",      "hot",
      "word",    "but",    "what",    "some",    "we",      "can",     "out",     "other",
      "were",    "all",    "there",   "when",    "up",      "use",     "your",    "how",
      "said",    "an",     "each",    "she",     "which",   "do",      "their",   "time",
      "if",      "will",   "way",     "about",   "many",    "then",    "them",    "write",
      "would",   "like",   "so",      "these",   "her",     "long",    "make",    "thing",
      "see",     "him",    "two",     "has",     "look",    "more",    "day",     "could",
      "go",      "come",   "did",     "number",  "sound",   "no",      "most",    "people",
      "my",      "over",   "know",    "water",   "than",    "call",    "first",   "who",
      "may",     "down",   "side",    "been",    "now",     "find",    "river",   "forest",
      "fish",    "bird",   "birds",   "fishing", "feather", "stream",  "meadow",  "valley",
      "between", "during", "without", "because", "through", "before",  "another", "zebra",
      "zebras",  "herd",   "savanna", "grazing", "horizon", "weather", "morning", "evening"};
  constexpr size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  const size_t units = kTextBytes / sizeof(char16_t);
  std::u16string text;
  text.reserve(units + 64);
  size_t lineLength = 0;
  bool sentenceStart = true;
  while (text.size() < units) {
    std::string word;
    const std::uint64_t roll = next() % 100000;
    if (roll < 2)
      word = "zebrafish";
    else if (roll < 2000)
      word = std::to_string(next() % 10000);
    else {
      // Squaring a uniform number favours the first words.
      const double u = static_cast<double>(next() % 1000000) / 1000000.0;
      word = kWords[static_cast<size_t>(u * u * kWordCount)];
    }
    if (sentenceStart && word[0] >= 'a' && word[0] <= 'z')
      word[0] = static_cast<char>(word[0] - 32);
    sentenceStart = false;
    const std::uint64_t end = next() % 100;
    if (end < 7) {
      word += end < 6 ? "." : "?";
      sentenceStart = true;
    } else if (end < 12) {
      word += ",";
    }
    if (lineLength + word.size() > 72) {
      text += u"\r\n";
      lineLength = 0;
    } else if (lineLength > 0) {
      text += u' ';
      ++lineLength;
    }
    for (char c : word)
      text += static_cast<char16_t>(c);
    lineLength += word.size();
  }
  text.resize(units);
  return text;
}

const std::u16string& Text() {
  static const std::u16string text = MakeEnglishLikeText();
  return text;
}

class NoQuestions : public RunChannel {
 public:
  void SendResult(ResultMessage) override {}
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info&, const CFileResult&) override {
    return ConfirmAnswer::No;
  }
};

void BM_Voxalon(benchmark::State& state, const Case& c) {
  RegexProgram program;
  if (CompileRegex(c.caseSensitive, program, c.pattern) != 0) {
    state.SkipWithError("compile failed");
    return;
  }
  TextBuffer buffer;
  TextBuffer::FromText(Text(), buffer);
  static RunParameters parameters;
  NoQuestions window;
  parameters.action = ActionType::FindOnly;
  parameters.regex = &program;
  parameters.targetWindow = &window;
  size_t matches = 0;
  for (auto _ : state) {
    CFileResult file;
    benchmark::DoNotOptimize(ApplyRegexToText(parameters, file, buffer));
    matches = file.matches.size();
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextBytes));
}

void BM_Pcre2(benchmark::State& state, const Case& c) {
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  const std::u16string pattern(c.pcrePattern);
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                    c.caseSensitive ? 0 : PCRE2_CASELESS, &errorCode, &errorOffset, nullptr);
  if (!code) {
    state.SkipWithError("pcre2_compile failed");
    return;
  }
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const std::u16string& text = Text();
  const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  size_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    PCRE2_SIZE offset = 0;
    while (offset <= text.size() &&
           pcre2_match(code, subject, text.size(), offset, 0, data, nullptr) >= 0) {
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      ++matches;
      offset = ovector[1] > ovector[0] ? ovector[1] : ovector[0] + 1;
    }
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextBytes));
  pcre2_match_data_free(data);
  pcre2_code_free(code);
}

// The console report, and each run's processor time per iteration kept for the ratio table
// (the machine may be shared, so wall time is less telling).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        seconds_[run.benchmark_name()] = run.cpu_accumulated_time / run.iterations;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\n%-22s %12s %12s %10s %12s\n", "search", "voxalon ms", "pcre2 ms", "ratio",
                "voxalon GB/s");
    for (const Case& c : kCases) {
      auto own = seconds_.find(std::string("voxalon/") + c.name);
      auto pcre = seconds_.find(std::string("pcre2/") + c.name);
      if (own == seconds_.end() || pcre == seconds_.end())
        continue;
      std::printf("%-22s %12.2f %12.2f %10.2f %12.2f\n", c.name, own->second * 1e3,
                  pcre->second * 1e3, own->second / pcre->second,
                  static_cast<double>(kTextBytes) / own->second / 1e9);
    }
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("voxalon/") + c.name).c_str(), BM_Voxalon, c)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("pcre2/") + c.name).c_str(), BM_Pcre2, c)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
