#include "run/results_export.h"

#include <gtest/gtest.h>

#include "text/utf8.h"

TEST(CsvField, QuotesWhatWouldBreakTheLine) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"plain text", u"plain text"},
      {u"", u""},
      {u"a,b", u"\"a,b\""},
      {u"say \"hi\"", u"\"say \"\"hi\"\"\""},
      {u"two\r\nlines", u"\"two\r\nlines\""},
      {u"cr\ronly", u"\"cr\ronly\""},
  };
  for (const auto& [text, field] : cases)
    EXPECT_EQ(CsvField(text), field);
}

TEST(ResultsExport, CsvHasAFileLineThenItsMatchesAndClipboardTextHasAHeader) {
  CFileResult file;
  file.name = u"a,b.txt";
  file.folder = u"C:\\w";
  file.typeName = u"Text";
  file.resultText = u"2 matches found";
  file.matches = {{0, 4}, {2, 0}};
  MatchLine line;
  line.before = u"say \"zebra\"\r\n";
  file.lines = {line};
  ResultRows rows;
  rows.Add(file, 0);
  rows.ShowPending();
  const std::string start = "\"" + Utf16ToUtf8(FullPathOf(file)) + "\",\"a,b.txt\",C:\\w,";
  EXPECT_EQ(ResultsAsCsv(rows),
            "\xEF\xBB\xBFPath,Name,Folder,Result,Matches,Line,Character,Line text\r\n" + start +
                "2 matches found,2,,,\r\n" + start + ",,1,5,\"say \"\"zebra\"\"\r\n\"\r\n" +
                start + ",,3,1,\r\n");
  file.resultText = u"tab\there";
  EXPECT_EQ(RowsAsTabSeparated(rows, {0}),
            u"Name\tType\tSize\tModified\tResult\tPath\r\n"
            u"a,b.txt\tText\t0 Bytes\t0:0:0  0:0\ttab here\tC:\\w\r\n");
}
