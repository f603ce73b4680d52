// The results list under load: one Find only run of the real main window over a folder, with
// the window's answer time measured from another thread all along, then the rows sorted by a
// column header click and back. Prints the figures; not a test.
//
//   voxalon_list_bench.exe FOLDER FIND
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/settings_key.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/voxa_dlg.h"
#include "ui/win32/window_run_channel.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

// The longest time the window took to answer a sent message while `running`.
class AnswerTimes {
 public:
  explicit AnswerTimes(HWND window) : thread_([this, window] { Measure(window); }) {}
  ~AnswerTimes() { Finish(); }
  void Finish() {
    running_ = false;
    if (thread_.joinable())
      thread_.join();
  }
  double longest() const { return longest_; }
  long count() const { return count_; }

 private:
  void Measure(HWND window) {
    while (running_) {
      const Clock::time_point start = Clock::now();
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
      longest_ = std::max(longest_, Seconds(Clock::now() - start));
      ++count_;
      Sleep(20);
    }
  }
  std::atomic<bool> running_{true};
  double longest_ = 0;
  long count_ = 0;
  std::thread thread_;
};

void ClickHeader(HWND dialog, HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr = {list, IDC_RESULTS, static_cast<UINT>(LVN_COLUMNCLICK)};
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageW(dialog, WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(list);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: voxalon_list_bench FOLDER FIND\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  MemorySettingsKeyStore store;
  CVOXADlg dialog(nullptr, &store);
  if (!dialog.Create(nullptr))
    return 1;
  ShowWindow(dialog.hwnd(), SW_SHOW);
  const HWND window = dialog.hwnd();
  SetItemText(window, IDC_SEARCH_PATH, u"\"" + platform::FromWide(argv[1]) + u"\"");
  SetItemText(window, IDC_MASKS, u"*.*");
  SetItemText(window, IDC_FIND_TEXT, platform::FromWide(argv[2]));
  SetComboSelection(window, IDC_ACTION, 1);  // Find only

  const Clock::time_point start = Clock::now();
  AnswerTimes answers(window);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_RUN, BN_CLICKED), 0);
  WindowMessagePump().ServeUntil([&] { return dialog.runState() == RunState::Idle; });
  const double run = Seconds(Clock::now() - start);
  answers.Finish();

  const HWND list = GetDlgItem(window, IDC_RESULTS);
  const int rows = ListView_GetItemCount(list);
  Clock::time_point sortStart = Clock::now();
  ClickHeader(window, list, 2);
  const double bySize = Seconds(Clock::now() - sortStart);
  sortStart = Clock::now();
  ClickHeader(window, list, 0);
  const double byName = Seconds(Clock::now() - sortStart);

  std::printf("rows %d\nrun %.2f s (%.0f rows/s)\n", rows, run, rows / std::max(run, 1e-9));
  std::printf("longest answer during the run %.1f ms (%ld asked)\n", answers.longest() * 1000,
              answers.count());
  std::printf("sort by size %.3f s, back by name %.3f s\n", bySize, byName);
  DestroyWindow(window);
  return 0;
}
