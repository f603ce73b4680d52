#include "cli/run_list.h"

#include <nlohmann/json.hpp>

#include "platform/clock.h"
#include "platform/string_table.h"
#include "text/utf8.h"

void WriteRunList(const std::vector<RunFolder>& runs, bool json, const TextSink& write) {
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    const RunJournal& journal = run->journal;
    if (run->inUse || journal.undone || !HasUndoableEntries(journal))
      continue;
    const std::string time = IsoDateText(platform::LocalCalendarTime(journal.started));
    const std::string path = Utf16ToUtf8(ShownText(journal.searchPaths));
    const int files = UndoableFileCount(journal);
    const std::string state = Utf16ToUtf8(
        platform::LoadText(journal.ended ? IDS_RUN_STATE_ENDED : IDS_RUN_STATE_INTERRUPTED));
    if (!json) {
      write(time + '\t' + path + '\t' + std::to_string(files) + '\t' + state + '\n');
      continue;
    }
    nlohmann::ordered_json line;
    line["run"] = time;
    line["path"] = path;
    line["files"] = files;
    line["state"] = state;
    line["folder"] = Utf16ToUtf8(ShownText(run->folder));
    write(line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
  }
}
