#include "run/result_rows.h"

#include <gtest/gtest.h>

#include <memory>

#include "run/result_batch.h"

namespace {

CFileResult File(std::u16string name, std::uint64_t size, std::uint16_t day,
                 std::u16string folder) {
  CFileResult file;
  file.name = std::move(name);
  file.typeName = u"Text";
  file.size = size;
  file.modified = {2026, 1, 0, day, 0, 0, 0, 0};
  file.folder = std::move(folder);
  file.resultText = u"1 matches found";
  return file;
}

std::vector<std::u16string> Names(const ResultRows& rows) {
  std::vector<std::u16string> names;
  for (size_t row = 0; row < rows.ShownCount(); ++row)
    names.push_back(rows.CellText(row, ResultColumn::Name));
  return names;
}

}  // namespace

TEST(ResultRows, BatchesJoinInNameOrderAndHeaderClicksSort) {
  const CFileResult files[] = {File(u"b.txt", 30, 2, u"C:\\z"), File(u"A.txt", 10, 3, u"C:\\y"),
                               File(u"c.txt", 20, 1, u"C:\\x"), File(u"a.txt", 10, 3, u"C:\\y")};
  ResultRows rows;
  rows.Add(files[0], 0);
  rows.Add(files[1], 1);
  EXPECT_EQ(rows.ShownCount(), 0u);
  EXPECT_EQ(rows.TotalCount(), 2u);
  EXPECT_TRUE(rows.ShowPending());
  EXPECT_FALSE(rows.ShowPending());
  rows.Add(files[2], 2);
  rows.Add(files[3], 3);
  rows.ShowPending();
  EXPECT_EQ(Names(rows), (std::vector<std::u16string>{u"A.txt", u"a.txt", u"b.txt", u"c.txt"}));
  EXPECT_EQ(rows.IndexAt(1), 3u);
  EXPECT_EQ(rows.IndexAt(4), std::nullopt);

  struct Click {
    ResultColumn column;
    std::vector<std::u16string> names;
  };
  const Click clicks[] = {
      // Equal sizes keep the name order.
      {ResultColumn::Size, {u"A.txt", u"a.txt", u"c.txt", u"b.txt"}},
      {ResultColumn::Size, {u"b.txt", u"c.txt", u"a.txt", u"A.txt"}},
      {ResultColumn::Modified, {u"c.txt", u"b.txt", u"A.txt", u"a.txt"}},
      {ResultColumn::Path, {u"c.txt", u"A.txt", u"a.txt", u"b.txt"}},
      {ResultColumn::Name, {u"A.txt", u"a.txt", u"b.txt", u"c.txt"}},
  };
  for (const Click& click : clicks) {
    rows.SortBy(click.column);
    EXPECT_EQ(Names(rows), click.names) << static_cast<int>(click.column);
  }
  EXPECT_EQ(rows.CellText(0, ResultColumn::Size), u"10 Bytes");
  rows.Clear();
  EXPECT_EQ(rows.TotalCount(), 0u);
}

TEST(ResultBatch, KeepsFileResultsUntilTheListLimitMayBeReached) {
  auto Message = [](ResultStatus status, bool matches) {
    ResultMessage message;
    message.status = status;
    message.file = std::make_unique<CFileResult>();
    if (matches)
      message.file->matches.push_back({0, 0});
    return message;
  };
  ResultBatch batch;
  batch.Start(2);
  std::vector<bool> kept;
  for (auto [status, matches] :
       {std::pair{ResultStatus::FileResult, true}, {ResultStatus::FileResult, false},
        {ResultStatus::FileError, false}, {ResultStatus::FileResult, true},
        {ResultStatus::FileResult, true}, {ResultStatus::RunFinished, false}}) {
    ResultMessage message = Message(status, matches);
    kept.push_back(batch.Offer(message));
    EXPECT_EQ(message.file != nullptr, !kept.back()) << "kept messages are taken over";
  }
  EXPECT_EQ(kept, (std::vector<bool>{true, true, true, true, false, false}));
  EXPECT_EQ(batch.Take().size(), 4u);
  EXPECT_TRUE(batch.Take().empty());
  batch.Start(0);
  ResultMessage unlimited = Message(ResultStatus::FileResult, true);
  EXPECT_TRUE(batch.Offer(unlimited));
}
