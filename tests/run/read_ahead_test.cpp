// Files processed ahead on a second thread are reported exactly as the worker alone reports them:
// the same messages in the same order, with the same positions, under stops and read errors.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/file_fault.h"
#include "run/record/run_channel.h"
#include "run/search_worker.h"
#include "tests/support/temp_tree.h"

namespace {

std::u16string Ascii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

// Writes every message as one line; sets the stop event after the chosen number of them.
class RecordingChannel : public RunChannel {
 public:
  explicit RecordingChannel(SearchWorker& worker) : worker_(worker) {}

  void SendResult(ResultMessage message) override {
    std::u16string line = std::u16string(1, static_cast<char16_t>(u'0' + int(message.status)));
    if (message.file) {
      const CFileResult& file = *message.file;
      line += u'|' + file.folder + u'|' + file.name + u'|' + file.typeName + u'|' +
              file.resultText + u'|' + static_cast<char16_t>(u'0' + int(file.skipped));
      for (const auto& match : file.matches)
        line += Ascii(' ' + std::to_string(match.line) + ':' + std::to_string(match.character));
    }
    if (message.errorText)
      line += u'|' + *message.errorText;
    const std::lock_guard lock(mutex_);
    lines.push_back(line);
    if (lines.size() == stopAfter)
      worker_.stopEvent.Set();
    if (message.status == ResultStatus::RunFinished) {
      finished = true;
      done_.notify_all();
    }
  }
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info&, const CFileResult&) override {
    return ConfirmAnswer::Yes;
  }
  void WaitUntilFinished() {
    std::unique_lock lock(mutex_);
    done_.wait_for(lock, std::chrono::seconds(60), [this] { return finished; });
  }

  std::vector<std::u16string> lines;
  size_t stopAfter = 0;  // 0: never
  bool finished = false;

 private:
  SearchWorker& worker_;
  std::mutex mutex_;
  std::condition_variable done_;
};

struct Corpus {
  TempTree tree;
  std::u16string find;
  bool caseSensitive = false;
};

// Folders of files whose matches sit anywhere: at the ends, across line breaks of both kinds,
// in UTF-16 and in binary files.
void MakeCorpus(std::mt19937& random, Corpus& corpus) {
  const char* const words[] = {"abc", "ABC", "ab", "c", "x", " ", "\n", "\r\n", "\r", "a\nbc"};
  corpus.find = u"abc";
  corpus.caseSensitive = random() % 2 == 0;
  const int folders = 1 + static_cast<int>(random() % 4);
  for (int folder = 0; folder < folders; ++folder) {
    const std::u16string name = u"d" + std::u16string(1, static_cast<char16_t>(u'0' + folder));
    corpus.tree.MakeFolder(name);
    const int files = static_cast<int>(random() % 40);
    for (int file = 0; file < files; ++file) {
      std::string content;
      const int pieces = static_cast<int>(random() % 200);
      for (int piece = 0; piece < pieces; ++piece)
        content += words[random() % std::size(words)];
      switch (random() % 12) {
        case 0:
          content.insert(content.size() / 2, 1, '\0');  // binary
          break;
        case 1: {
          std::string utf16 = "\xFF\xFE";
          for (char byte : content)
            utf16 += std::string{byte, '\0'};
          content = utf16;
          break;
        }
        default:
          break;
      }
      const std::string fileName = "f" + std::to_string(file) + (random() % 5 ? ".txt" : ".dat");
      corpus.tree.MakeFile(name + u"/" + Ascii(fileName), content);
    }
  }
}

std::vector<std::u16string> Messages(const Corpus& corpus, bool readAhead, size_t stopAfter,
                                     const platform::FileFault* fault) {
  SearchWorker worker;
  RecordingChannel channel(worker);
  channel.stopAfter = stopAfter;
  RunParameters parameters;
  parameters.action = ActionType::FindOnly;
  parameters.findText = corpus.find;
  parameters.caseSensitive = corpus.caseSensitive;
  parameters.includeSubfolders = true;
  parameters.searchPaths = {corpus.tree.root()};
  parameters.masks = {u"*.txt", u"*"};
  parameters.exclusions = {u"d3"};
  parameters.settings.skipBinaryFiles = 1;
  parameters.targetWindow = &channel;
  worker.SetReadAhead(readAhead);
  // A fault counts reads in the order they happen: the worker's share of the files would be
  // read out of walk order.
  worker.SetReadAheadSharing(!fault);
  if (fault)
    platform::ArmFileFault(*fault);
  EXPECT_TRUE(worker.Start(parameters));
  channel.WaitUntilFinished();
  EXPECT_TRUE(channel.finished);
  worker.Stop();
  platform::DisarmFileFaults();
  return channel.lines;
}

TEST(ReadAhead, ReportsAsTheWorkerAloneDoes) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 12; ++round) {
    Corpus corpus;
    MakeCorpus(random, corpus);
    const std::vector<std::u16string> whole = Messages(corpus, false, 0, nullptr);
    EXPECT_EQ(Messages(corpus, true, 0, nullptr), whole);
    const size_t stopAfter = 1 + random() % whole.size();
    EXPECT_EQ(Messages(corpus, true, stopAfter, nullptr), Messages(corpus, false, stopAfter, nullptr))
        << "stopped after " << stopAfter;
    platform::FileFault fault;
    fault.operation = platform::FileOperation::Read;
    fault.skip = static_cast<int>(random() % (whole.size() + 1));
    fault.count = 1 + static_cast<int>(random() % 3);
    fault.error = platform::kErrorOutOfMemory;
    EXPECT_EQ(Messages(corpus, true, 0, &fault), Messages(corpus, false, 0, &fault))
        << "reads failing from " << fault.skip;
  }
}

}  // namespace
