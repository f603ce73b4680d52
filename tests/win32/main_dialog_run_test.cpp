#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include "platform/program_files.h"
#include "platform/settings_key.h"
#include "platform/win32/wide.h"
#include "processing/confirmation.h"
#include "resource.h"
#include "tests/support/temp_tree.h"
#include "text/code_page.h"
#include "ui/start_paths.h"
#include "ui/win32/confirm_dlg.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/select_items_dlg.h"
#include "ui/win32/voxa_app.h"
#include "ui/win32/voxa_dlg.h"
#include "ui/win32/window_run_channel.h"

namespace {

// Records one match per file at (0, 0) and reports it, in place of content processing.
void OneMatchPerFile(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  entry->matches.push_back({0, 0});
  entry->resultText = u"1 matches found";
  worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
}

class MainDialogRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(nullptr));
    SetItemText(Dlg(), IDC_SEARCH_PATH, u"\"" + tree_.root() + u"\"");
    SetItemText(Dlg(), IDC_FIND_TEXT, u"old");
    SetItemText(Dlg(), IDC_REPLACE_TEXT, u"new");
  }
  void TearDown() override {
    SetMessageBoxHook(nullptr);
    SetModalDialogHook(nullptr);
    SetFolderPickerHook(nullptr);
    SetShellOpenHook(nullptr);
    SetShellOpenRequestHook(nullptr);
    SetShellMenuHook(nullptr);
  }

  HWND Dlg() const { return dialog_.hwnd(); }
  void Command(int id) { SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // Runs and serves the worker's messages until the dialog is idle again.
  void RunToEnd() {
    Command(IDC_RUN);
    WindowMessagePump().ServeUntil([&] { return dialog_.runState() == RunState::Idle; });
  }
  bool MenuGrayed(int menu, int position) {
    return GetMenuState(GetSubMenu(dialog_.menu(), menu), position, MF_BYPOSITION) & MF_GRAYED;
  }
  void ClickRow(int row) {
    HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list, row);
    NMITEMACTIVATE click{};
    click.hdr = {list, IDC_RESULTS, static_cast<UINT>(NM_CLICK)};
    click.iItem = row;
    SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&click));
  }

  TempTree tree_;
  MemorySettingsKeyStore store_;
  CVOXADlg dialog_{nullptr, &store_};
};

}  // namespace

TEST_F(MainDialogRun, IdleStateAfterStartUp) {
  EXPECT_EQ(dialog_.StatusText(), u"Ready");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Dlg(), IDC_RUN)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Dlg(), IDC_STOP)));
  EXPECT_FALSE(MenuGrayed(1, 0)) << "Run";
  EXPECT_TRUE(MenuGrayed(1, 2)) << "Stop";
  EXPECT_FALSE(MenuGrayed(0, 0)) << "Settings";
}

TEST_F(MainDialogRun, RowsArriveSortedAndAClickShowsThatFile) {
  tree_.MakeFile(u"b.txt");
  tree_.MakeFile(u"A.txt");
  tree_.MakeFile(u"c.txt");
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 3");
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  const std::u16string names[] = {u"A.txt", u"b.txt", u"c.txt"};
  for (int row = 0; row < 3; ++row) {
    ClickRow(row);
    EXPECT_EQ(GetItemText(Dlg(), IDC_DETAILS),
              tree_.Path(names[row]) + u"\r\nLine number: 1. Character number: 1\r\n");
  }
  ListView_SetSelectionMark(list, -1);
  NMITEMACTIVATE nowhere{};
  nowhere.hdr = {list, IDC_RESULTS, static_cast<UINT>(NM_CLICK)};
  SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&nowhere));
  EXPECT_EQ(GetItemText(Dlg(), IDC_DETAILS), u"");
}

TEST_F(MainDialogRun, ConfirmationAnswersGoThroughTheDialog) {
  tree_.MakeFile(u"a.txt");
  SetItemChecked(Dlg(), IDC_CONFIRM_REPLACE, true);
  struct Case {
    std::vector<int> buttons;  // pressed in the dialogs, in order
    std::vector<bool> consents;
  };
  const Case cases[] = {
      {{IDC_CONFIRM_NO, IDC_CONFIRM_YES, IDC_CONFIRM_NO}, {false, true, false}},
      {{IDC_CONFIRM_YES_TO_ALL}, {true, true, true}},
      {{IDC_CONFIRM_YES, IDC_CONFIRM_NO_TO_ALL}, {true, false, false}},
      {{IDCANCEL, IDOK, IDC_CONFIRM_YES}, {false, false, true}},  // Esc and Enter refuse
  };
  for (const Case& c : cases) {
    std::vector<bool> consents;
    dialog_.run().worker().SetFileProcessor(
        [&](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
          for (std::int64_t i = 0; i < 3; ++i)
            consents.push_back(AskConfirmation(*worker.parameters, {0, i}, *entry));
          worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
        });
    size_t asked = 0;
    std::u16string firstQuestion;
    SetModalDialogHook([&](Dialog& shown) -> std::optional<INT_PTR> {
      if (asked == 0)
        firstQuestion = GetItemText(shown.hwnd(), IDC_CONFIRM_MESSAGE);
      int button = asked < c.buttons.size() ? c.buttons[asked] : IDC_CONFIRM_NO_TO_ALL;
      ++asked;
      SendMessageW(shown.hwnd(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return std::nullopt;
    });
    RunToEnd();
    EXPECT_EQ(asked, c.buttons.size()) << "no question after an answer for all";
    EXPECT_EQ(consents, c.consents);
    EXPECT_EQ(firstQuestion, u"The following file:\n\"" + tree_.Path(u"a.txt") +
                                 u"\"\n(line 1, character 1) will be processed. Continue?");
  }
}

TEST_F(MainDialogRun, SessionEndStopsTheRunAfterTheFileInHand) {
  for (const char16_t* name : {u"1.txt", u"2.txt", u"3.txt"})
    tree_.MakeFile(name);
  std::atomic<int> started{0}, finished{0};
  dialog_.run().worker().SetFileProcessor(
      [&](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        ++started;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++finished;
        OneMatchPerFile(worker, std::move(entry));
      });
  Command(IDC_RUN);
  while (started == 0)
    std::this_thread::yield();
  EXPECT_EQ(SendMessageW(Dlg(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(dialog_.runState(), RunState::Running) << "asked only";
  // The process may end as soon as this returns.
  SendMessageW(Dlg(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(dialog_.runState(), RunState::Idle);
  EXPECT_EQ(finished.load(), started.load());
  EXPECT_LT(finished.load(), 3);
}

TEST_F(MainDialogRun, FileLimitEndsTheRunWithTheLimitShown) {
  for (const char16_t* name : {u"1.txt", u"2.txt", u"3.txt", u"4.txt", u"5.txt"})
    tree_.MakeFile(name);
  dialog_.settings.maxFilesShown = 2;
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  EXPECT_EQ(ListView_GetItemCount(GetDlgItem(Dlg(), IDC_RESULTS)), 2);
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 2");
}

TEST_F(MainDialogRun, StopAndClearRules) {
  Command(IDC_STOP);  // idle: nothing
  EXPECT_EQ(dialog_.StatusText(), u"Ready");
  tree_.MakeFile(u"a.txt");
  std::atomic<bool> entered{false}, release{false};
  dialog_.run().worker().SetFileProcessor(
      [&](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        entered = true;
        while (!release)
          std::this_thread::yield();
        OneMatchPerFile(worker, std::move(entry));
      });
  Command(IDC_RUN);
  while (!entered)
    std::this_thread::yield();  // a file being processed is finished after Stop
  EXPECT_EQ(dialog_.StatusText(), u"In progress..");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Dlg(), IDC_SEARCH_PATH)));
  EXPECT_TRUE(MenuGrayed(0, 0)) << "Settings during a run";
  EXPECT_FALSE(MenuGrayed(1, 2)) << "Stop during a run";
  Command(ID_ACTION_CLEAR);  // during a run: nothing
  EXPECT_EQ(GetItemText(Dlg(), IDC_FIND_TEXT), u"old");
  Command(ID_ACTION_STOP);
  EXPECT_EQ(dialog_.StatusText(), u"Stopping...");
  release = true;
  WindowMessagePump().ServeUntil([&] { return dialog_.runState() == RunState::Idle; });
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 1");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Dlg(), IDC_SEARCH_PATH)));
  Command(ID_ACTION_CLEAR);
  EXPECT_EQ(GetItemText(Dlg(), IDC_FIND_TEXT), u"");
  EXPECT_EQ(GetItemText(Dlg(), IDC_REPLACE_TEXT), u"");
  EXPECT_EQ(ListView_GetItemCount(GetDlgItem(Dlg(), IDC_RESULTS)), 0);
}

TEST_F(MainDialogRun, RunCheckMessagesAreShownOwnedByTheDialog) {
  SetItemText(Dlg(), IDC_SEARCH_PATH, u"");
  std::u16string shown;
  HWND owner = nullptr;
  SetMessageBoxHook(
      [&](HWND window, const std::u16string& text, const std::u16string& caption, UINT) {
        owner = window;
        shown = text + u"|" + caption;
        return IDOK;
      });
  Command(ID_ACTION_RUN);
  EXPECT_EQ(shown, u"Unable to parse search paths. Check the syntax.|Error");
  EXPECT_EQ(owner, Dlg());
  EXPECT_EQ(dialog_.runState(), RunState::Idle);
}

TEST_F(MainDialogRun, OptionRules) {
  HWND dlg = Dlg();
  auto select = [&](int action) {
    SetComboSelection(dlg, IDC_ACTION, action);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_ACTION, CBN_SELCHANGE), 0);
  };
  select(1);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_REPLACE_TEXT))) << "Find only";
  select(2);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_REPLACE_TEXT))) << "Delete";
  select(5);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_REPLACE_TEXT)));

  SendMessageW(GetDlgItem(dlg, IDC_USE_VARIABLES), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(dlg, IDC_USE_REGEX), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsItemChecked(dlg, IDC_USE_REGEX));
  EXPECT_FALSE(IsItemChecked(dlg, IDC_USE_VARIABLES));
  SendMessageW(GetDlgItem(dlg, IDC_USE_VARIABLES), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsItemChecked(dlg, IDC_USE_REGEX));

  SendMessageW(GetDlgItem(dlg, IDC_RENAME_MODE), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_USE_VARIABLES)));
  EXPECT_TRUE(IsItemChecked(dlg, IDC_USE_VARIABLES)) << "its check state stays";
  SendMessageW(GetDlgItem(dlg, IDC_RENAME_MODE), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_USE_VARIABLES)));
}

TEST_F(MainDialogRun, SelectButtonsAndBrowse) {
  SetModalDialogHook([](Dialog& shown) -> std::optional<INT_PTR> {
    auto& select = static_cast<CSelectItemsDlg&>(shown);
    HWND list = select.Item(IDC_ITEM_LIST);
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
      wchar_t text[64] = {};
      ListView_GetItemText(list, row, 0, text, 64);
      std::wstring entry = text;
      if (entry == L"\"*.txt\"" || entry == L"\"*.htm\", \"*.html\"")
        ListView_SetCheckState(list, row, TRUE);
    }
    SendMessageW(shown.hwnd(), WM_COMMAND, IDOK, 0);
    return std::nullopt;
  });
  Command(IDC_SELECT_MASKS);
  EXPECT_EQ(GetItemText(Dlg(), IDC_MASKS), u"\"*.txt\", \"*.htm\", \"*.html\"");

  // OK with nothing checked leaves the field alone.
  SetModalDialogHook([](Dialog& shown) -> std::optional<INT_PTR> {
    SendMessageW(shown.hwnd(), WM_COMMAND, IDOK, 0);
    return std::nullopt;
  });
  Command(IDC_SELECT_MASKS);
  EXPECT_EQ(GetItemText(Dlg(), IDC_MASKS), u"\"*.txt\", \"*.htm\", \"*.html\"");

  dialog_.recentFolders.clear();
  for (int i = 0; i < 11; ++i) {
    std::u16string folder = tree_.root() + u"\\f" + std::u16string(1, u'a' + i);
    SetFolderPickerHook([folder](HWND) { return std::optional<std::u16string>(folder); });
    Command(IDC_BROWSE);
    EXPECT_EQ(GetItemText(Dlg(), IDC_SEARCH_PATH), u"\"" + folder + u"\"");
  }
  Command(IDC_BROWSE);  // the same folder again: no new entry
  ASSERT_EQ(dialog_.recentFolders.size(), 10u);
  EXPECT_EQ(dialog_.recentFolders.front(), tree_.root() + u"\\fk");
  EXPECT_EQ(dialog_.recentFolders.back(), tree_.root() + u"\\fb");
}

TEST_F(MainDialogRun, HelpFailureNamesThePathTried) {
  std::u16string opened, shown;
  SetShellOpenHook([&](HWND, const std::u16string& file, const std::u16string&) -> INT_PTR {
    opened = file;
    return SE_ERR_FNF;
  });
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  Command(ID_HELP_HELP);
  EXPECT_TRUE(opened.ends_with(u"\\VOXAHELP.chm"));
  EXPECT_EQ(shown, u"Couldn't open help file: " + opened);
}

// The help file looked for beside the running program, there for one test only.
class HelpBesideProgram {
 public:
  HelpBesideProgram() : path_(platform::ProgramFolder() + u"\\VOXAHELP.chm") {
    CloseHandle(
        CreateFileW(platform::Wide(path_), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  }
  ~HelpBesideProgram() { DeleteFileW(platform::Wide(path_)); }
  const std::u16string& path() const { return path_; }

 private:
  std::u16string path_;
};

TEST_F(MainDialogRun, HelpFallsBackToTheProgramsFolderAndPrefersTheCurrentDirectory) {
  HelpBesideProgram beside;
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(platform::Wide(tree_.root()));
  std::vector<ShellOpenRequest> requests;
  SetShellOpenRequestHook([&](const ShellOpenRequest& request) -> INT_PTR {
    requests.push_back(request);
    return 42;
  });
  SetModalDialogHook([](Dialog& dialog) -> std::optional<INT_PTR> {
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_HELP, BN_CLICKED), 0);
    return IDCANCEL;
  });
  Command(ID_HELP_HELP);
  Command(ID_FILE_SETTINGS);
  tree_.MakeFile(u"VOXAHELP.chm");
  Command(ID_HELP_HELP);
  SetCurrentDirectoryW(previous);

  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].file, beside.path()) << "F1";
  EXPECT_EQ(requests[1].file, u"hh.exe");
  EXPECT_EQ(requests[1].parameters, u"its:" + beside.path() + u"::/Settings.html");
  EXPECT_EQ(requests[2].file, tree_.root() + u"\\VOXAHELP.chm");
}

TEST(MainDialogStart, CommandLineFoldersFillTheSearchPath) {
  MemorySettingsKeyStore store;
  CVOXADlg dialog{nullptr, &store};
  dialog.startFolders = SplitCommandLine(u"\"C:\\\" \"C:\\My Files\"");
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(GetItemText(dialog.hwnd(), IDC_SEARCH_PATH), u"\"C:\\\",\"C:\\My Files\"");
}

TEST_F(MainDialogRun, DroppedFoldersFillTheSearchPathAndFilesArePassedOver) {
  tree_.MakeFolder(u"sub");
  tree_.MakeFile(u"a.txt");
  const std::vector<std::u16string> dropped{tree_.Path(u"a.txt"), tree_.Path(u"sub")};
  size_t units = 1;
  for (const std::u16string& path : dropped)
    units += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* at = reinterpret_cast<char16_t*>(drop + 1);
  for (const std::u16string& path : dropped)
    at = std::copy(path.begin(), path.end(), at) + 1;
  GlobalUnlock(memory);
  SendMessageW(Dlg(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_EQ(GetItemText(Dlg(), IDC_SEARCH_PATH), u"\"" + tree_.Path(u"sub") + u"\"");
}

TEST_F(MainDialogRun, WideningMovesTheRightColumn) {
  auto rectOf = [&](int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(Dlg(), id), &rect);
    MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  RECT window{};
  GetWindowRect(Dlg(), &window);
  RECT client{};
  GetClientRect(Dlg(), &client);
  ASSERT_GE(client.right, 685);
  RECT masks = rectOf(IDC_MASKS), path = rectOf(IDC_SEARCH_PATH), browse = rectOf(IDC_BROWSE);
  SetWindowPos(Dlg(), nullptr, 0, 0, window.right - window.left + 100, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(rectOf(IDC_MASKS).left, masks.left + 100);
  EXPECT_EQ(rectOf(IDC_SEARCH_PATH).right, path.right + 100);
  EXPECT_EQ(rectOf(IDC_BROWSE).left, browse.left);
  RECT list = rectOf(IDC_RESULTS);
  GetClientRect(Dlg(), &client);
  EXPECT_EQ(list.right, client.right);
  EXPECT_EQ(list.bottom, client.bottom - 73);
}

TEST_F(MainDialogRun, AcceleratorsReachTheMainWindow) {
  CVOXAApp app;
  app.LoadAcceleratorTable();
  app.SetMainWindow(Dlg());
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  SetItemText(Dlg(), IDC_MASKS, u"");
  auto press = [&](HWND target, WPARAM key) {
    MSG message{target, WM_KEYDOWN, key, 0, 0, {0, 0}};
    return app.PreTranslateMessage(message);
  };
  EXPECT_TRUE(press(GetDlgItem(Dlg(), IDC_SEARCH_PATH), VK_F5));
  EXPECT_EQ(shown, u"Unable to parse file masks. Check the syntax.") << "F5 ran the Run command";
  EXPECT_TRUE(press(GetDlgItem(Dlg(), IDC_FIND_TEXT), VK_ESCAPE)) << "Esc is Stop everywhere";
  EXPECT_TRUE(IsWindow(Dlg())) << "and never ends the program";
  EXPECT_TRUE(press(Dlg(), VK_F6));
  EXPECT_EQ(GetItemText(Dlg(), IDC_FIND_TEXT), u"") << "F6 cleared";
  SetShellOpenRequestHook([](const ShellOpenRequest&) -> INT_PTR { return SE_ERR_FNF; });
  EXPECT_TRUE(press(GetDlgItem(Dlg(), IDC_MASKS), VK_F1));
  EXPECT_TRUE(shown.starts_with(u"Couldn't open help file: ")) << "F1 is Help";
}

TEST_F(MainDialogRun, ClosingDuringARunWaitsForTheWorker) {
  tree_.MakeFile(u"a.txt");
  std::atomic<bool> entered{false}, finished{false};
  dialog_.run().worker().SetFileProcessor(
      [&](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        entered = true;
        while (!worker.StopRequested())
          std::this_thread::yield();
        OneMatchPerFile(worker, std::move(entry));
        finished = true;
      });
  Command(IDC_RUN);
  ASSERT_EQ(dialog_.runState(), RunState::Running);
  while (!entered)
    std::this_thread::yield();
  SendMessageW(Dlg(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(finished) << "the worker ended before the window went";
  EXPECT_EQ(dialog_.runState(), RunState::Idle);
  // The dialog ends through the cancel command that closing posts.
  WindowMessagePump().ServeUntil([&] { return dialog_.hwnd() == nullptr; });
}

TEST_F(MainDialogRun, FileErrorsGoToTheErrorLogWhichTheMenuOpens) {
  tree_.MakeFile(u"a.txt");
  tree_.MakeFolder(u"logs");
  dialog_.settings.saveErrorLog = 1;
  dialog_.settings.logDirectory = tree_.Path(u"logs");
  SetModalDialogHook([](Dialog& shown) -> std::optional<INT_PTR> {
    SendMessageW(shown.hwnd(), WM_COMMAND, IDOK, 0);  // Settings: OK takes the log over
    return std::nullopt;
  });
  Command(ID_FILE_SETTINGS);
  SetModalDialogHook(nullptr);
  ASSERT_EQ(dialog_.errorLog().logPath(), tree_.Path(u"logs/VOXALog.txt"));

  dialog_.run().worker().SetFileProcessor(
      [](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        entry->resultText = u"Access is denied.\r\n";
        worker.SendFileResult(ResultStatus::FileError, std::move(entry));
      });
  RunToEnd();
  EXPECT_EQ(ListView_GetItemCount(GetDlgItem(Dlg(), IDC_RESULTS)), 0) << "errors are not listed";
  HANDLE log = CreateFileW(reinterpret_cast<const wchar_t*>(dialog_.errorLog().logPath().c_str()),
                           GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(log, INVALID_HANDLE_VALUE);
  char bytes[4096] = {};
  DWORD read = 0;
  ReadFile(log, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(log);
  std::u16string content(reinterpret_cast<const char16_t*>(bytes), read / 2);
  EXPECT_NE(content.find(u" (\"" + tree_.Path(u"a.txt") + u"\"): Access is denied."),
            std::u16string::npos);

  std::u16string opened, shown;
  int show = 0;
  SetShellOpenRequestHook([&](const ShellOpenRequest& request) -> INT_PTR {
    opened = request.file;
    show = request.show;
    return SE_ERR_FNF;
  });
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  Command(ID_FILE_OPEN_ERROR_LOG);
  EXPECT_EQ(opened, dialog_.errorLog().logPath());
  EXPECT_EQ(show, SW_SHOWNORMAL);
  EXPECT_EQ(shown, u"Couldn't open file: \"" + opened + u"\"");
}

TEST_F(MainDialogRun, PatternAndVariableChecksStopTheRun) {
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  SetItemChecked(Dlg(), IDC_USE_REGEX, true);
  SetItemText(Dlg(), IDC_FIND_TEXT, u"(ab");
  Command(IDC_RUN);
  EXPECT_EQ(shown, u"Regular expression parse error: A closing parenthesis was expected");
  EXPECT_EQ(dialog_.runState(), RunState::Idle);
  SetItemChecked(Dlg(), IDC_USE_REGEX, false);
  SetItemChecked(Dlg(), IDC_USE_VARIABLES, true);
  SetItemText(Dlg(), IDC_FIND_TEXT, u"%size%");
  Command(IDC_RUN);
  EXPECT_EQ(shown, u"Variable parse error: Unknown varable 'size'");
}

TEST_F(MainDialogRun, RenameModeDoesNotReadTheDisabledUseVariablesBox) {
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  tree_.MakeFile(u"a.txt");
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  SetItemChecked(Dlg(), IDC_USE_VARIABLES, true);
  SendMessageW(GetDlgItem(Dlg(), IDC_RENAME_MODE), BM_CLICK, 0, 0);
  SetItemText(Dlg(), IDC_FIND_TEXT, u"50%");
  RunToEnd();
  EXPECT_EQ(shown, u"");
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 1");
  EXPECT_FALSE(dialog_.run().parameters().useVariables);
}

TEST_F(MainDialogRun, ReplaceChangesFilesFromTheWindow) {
  tree_.MakeFile(u"a.txt", "an old tale of old days");
  tree_.MakeFile(u"sub/b.txt", "nothing here");
  RunToEnd();
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 1");
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  wchar_t result[64] = {};
  ListView_GetItemText(list, 0, 4, result, 64);
  EXPECT_EQ(std::wstring(result), L"2 matches found");
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(tree_.Path(u"a.txt").c_str()),
                            GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char bytes[64] = {};
  DWORD read = 0;
  ReadFile(file, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(bytes, read), "an new tale of new days");
}

TEST_F(MainDialogRun, UsualFoldersAndBinariesArePassedOverAndCounted) {
  tree_.MakeFile(u"a.txt", "old");
  tree_.MakeFile(u".git/config", "old");
  tree_.MakeFile(u"obj/x.txt", "old");
  tree_.MakeFile(u"b.bin", std::string("old\0", 4));
  SetItemText(Dlg(), IDC_EXCLUDE, u"*.tmp");
  Command(IDC_EXCLUDE_PRESET);
  Command(IDC_EXCLUDE_PRESET);
  EXPECT_EQ(GetItemText(Dlg(), IDC_EXCLUDE),
            u"*.tmp,\".git\\\",\".svn\\\",\".hg\\\",\"node_modules\\\",\"bin\\\",\"obj\\\","
            u"\"__pycache__\\\"")
      << "a second click adds nothing";
  RunToEnd();
  EXPECT_EQ(dialog_.StatusText(), u"Found files: 1; skipped: 1 binary, 2 excluded");
  EXPECT_EQ(ListView_GetItemCount(GetDlgItem(Dlg(), IDC_RESULTS)), 1);
}

// Each field's button offers what the last runs used, newest first; choosing fills the field.
TEST_F(MainDialogRun, HistoryButtonsOfferTheEntriesOfEarlierRuns) {
  tree_.MakeFile(u"a.txt", "old");
  SetItemText(Dlg(), IDC_EXCLUDE, u"bin\\");
  RunToEnd();
  SetItemText(Dlg(), IDC_FIND_TEXT, u"older");
  SetItemText(Dlg(), IDC_EXCLUDE, u"obj\\");
  RunToEnd();
  const struct {
    int button;
    int field;
    std::vector<std::u16string> offered;
  } kFields[] = {{IDC_FIND_HISTORY, IDC_FIND_TEXT, {u"older", u"old"}},
                 {IDC_REPLACE_HISTORY, IDC_REPLACE_TEXT, {u"new"}},
                 {IDC_EXCLUDE_HISTORY, IDC_EXCLUDE, {u"obj\\", u"bin\\"}}};
  for (const auto& field : kFields) {
    std::vector<std::u16string> offered;
    SetPopupMenuHook([&](HMENU menu, HWND) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t label[64] = {};
        GetMenuStringW(menu, i, label, 64, MF_BYPOSITION);
        offered.push_back(platform::FromWide(label));
      }
      return GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
    });
    SetItemText(Dlg(), field.field, u"");
    Command(field.button);
    EXPECT_EQ(offered, field.offered) << field.field;
    EXPECT_EQ(GetItemText(Dlg(), field.field), field.offered.back()) << field.field;
  }
  SetPopupMenuHook(nullptr);
}

TEST_F(MainDialogRun, DoubleClickOpensTheFileOrOffersOpenWith) {
  tree_.MakeFile(u"a.txt");
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  ClickRow(0);
  std::vector<std::pair<std::u16string, std::u16string>> opened;
  INT_PTR answer = 42;
  SetShellOpenHook([&](HWND, const std::u16string& file, const std::u16string& parameters) {
    opened.emplace_back(file, parameters);
    return opened.size() == 1 ? answer : INT_PTR{42};
  });
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  auto doubleClick = [&] {
    opened.clear();
    NMITEMACTIVATE click{};
    HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
    click.hdr = {list, IDC_RESULTS, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&click));
  };
  const std::u16string path = tree_.Path(u"a.txt");
  doubleClick();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, path);

  answer = SE_ERR_NOASSOC;  // no program for the type: the system's Open With choice
  doubleClick();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1].first, u"rundll32.exe");
  EXPECT_EQ(opened[1].second, u"shell32.dll,OpenAs_RunDLL " + path);

  answer = SE_ERR_ACCESSDENIED;
  doubleClick();
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(shown, u"Couldn't open file: \"" + path + u"\"");
}

TEST_F(MainDialogRun, KeyboardOnTheResultsSelectsOpensAndShowsTheMenu) {
  for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt"})
    tree_.MakeFile(name);
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  ShowWindow(Dlg(), SW_SHOW);
  SetForegroundWindow(Dlg());
  ClickRow(0);
  SetFocus(list);
  ASSERT_EQ(GetFocus(), list);
  auto press = [&](WPARAM key) {
    MSG msg{list, WM_KEYDOWN, key, 0, 0, {0, 0}};
    if (!IsDialogMessageW(Dlg(), &msg))
      DispatchMessageW(&msg);
  };
  press(VK_DOWN);
  EXPECT_EQ(GetItemText(Dlg(), IDC_DETAILS),
            tree_.Path(u"b.txt") + u"\r\nLine number: 1. Character number: 1\r\n")
      << "the arrow key shows the details as a click does";

  std::vector<std::u16string> opened;
  SetShellOpenRequestHook([&](const ShellOpenRequest& request) -> INT_PTR {
    opened.push_back(request.file);
    return 42;
  });
  press(VK_RETURN);
  EXPECT_EQ(opened, std::vector<std::u16string>{tree_.Path(u"b.txt")});
  EXPECT_TRUE(IsWindow(Dlg()));

  std::vector<std::pair<std::u16string, POINT>> menus;
  SetShellMenuHook([&](HWND, POINT at, const std::u16string& path) { menus.emplace_back(path, at); });
  SendMessageW(Dlg(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);  // Shift+F10, menu key
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].first, tree_.Path(u"b.txt"));
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
  EXPECT_GE(menus[0].second.y, row.top);
  EXPECT_LE(menus[0].second.y, row.bottom);
  EXPECT_GE(menus[0].second.x, row.left);
  // The context menu message that follows a right click adds no second menu.
  SendMessageW(Dlg(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(row.left, row.top));
  EXPECT_EQ(menus.size(), 1u);
}

TEST_F(MainDialogRun, DpiChangeScalesFontsLayoutAndColumns) {
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  auto rectOf = [&](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  auto fontHeight = [&](int id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(Dlg(), id, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    return font.lfHeight;
  };
  const int ids[] = {IDC_BROWSE, IDC_RESULTS_LABEL, IDC_MASKS, IDC_USE_VARIABLES, IDC_RUN};
  std::map<int, RECT> before;
  for (int id : ids)
    before[id] = rectOf(GetDlgItem(Dlg(), id));
  LONG height = fontHeight(IDC_BROWSE);
  int column = ListView_GetColumnWidth(list, 0);
  RECT window{};
  GetWindowRect(Dlg(), &window);
  // 120 DPI: the suggested rectangle a quarter larger (it still fits the screen).
  auto scaled = [](LONG value) { return MulDiv(value, 5, 4); };
  RECT larger{window.left, window.top, window.left + scaled(window.right - window.left),
              window.top + scaled(window.bottom - window.top)};
  SendMessageW(Dlg(), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&larger));

  for (int id : ids) {
    RECT after = rectOf(GetDlgItem(Dlg(), id));
    EXPECT_NEAR(after.left, scaled(before[id].left), 3) << id;
    EXPECT_NEAR(after.top, scaled(before[id].top), 1) << id;
    EXPECT_NEAR(after.right - after.left, scaled(before[id].right - before[id].left), 1) << id;
    EXPECT_NEAR(after.bottom - after.top, scaled(before[id].bottom - before[id].top), 1) << id;
  }
  EXPECT_EQ(fontHeight(IDC_BROWSE), scaled(height));
  EXPECT_EQ(fontHeight(IDC_FIND_TEXT), scaled(height));
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), scaled(column));
  RECT client{};
  GetClientRect(Dlg(), &client);
  RECT status = rectOf(dialog_.statusBar());
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.right, client.right);
  EXPECT_EQ(fontHeight(IDC_STATUS_BAR), scaled(height));
  EXPECT_EQ(rectOf(list).bottom, client.bottom - 91);
  EXPECT_EQ(rectOf(list).right, client.right);
}

TEST_F(MainDialogRun, DoubleClickNeverRunsAScriptOrProgram) {
  // A runnable type of the test's own with an edit verb. In HKEY_CLASSES_ROOT itself: Wine's
  // association functions do not see the user's classes.
  const std::wstring extension = L".voxtestcmd", progId = L"VoxalonTest.Script",
                     command = L"notepad.exe \"%1\"";
  RegSetKeyValueW(HKEY_CLASSES_ROOT, extension.c_str(), nullptr, REG_SZ, progId.c_str(),
                  static_cast<DWORD>((progId.size() + 1) * sizeof(wchar_t)));
  RegSetKeyValueW(HKEY_CLASSES_ROOT, (progId + L"\\shell\\edit\\command").c_str(), nullptr, REG_SZ,
                  command.c_str(), static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  wchar_t pathExt[512] = {};
  GetEnvironmentVariableW(L"PATHEXT", pathExt, 512);
  SetEnvironmentVariableW(L"PATHEXT", (std::wstring(pathExt) + L";.VOXTESTCMD").c_str());

  const char16_t* names[] = {u"a.voxtestcmd", u"notes.txt", u"setup.exe"};  // the list's order
  for (const char16_t* name : names)
    tree_.MakeFile(name);
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  std::vector<std::u16string> calls;
  SetShellExecuteHook([&](HWND, const std::u16string& verb, const std::u16string& file,
                          const std::u16string& parameters) -> INT_PTR {
    calls.push_back(verb + u"|" + file + u"|" + parameters);
    return 42;
  });
  const std::u16string expected[] = {
      u"edit|" + tree_.Path(names[0]) + u"|", u"open|" + tree_.Path(names[1]) + u"|",
      u"open|rundll32.exe|shell32.dll,OpenAs_RunDLL " + tree_.Path(names[2])};
  for (int row = 0; row < 3; ++row) {
    calls.clear();
    ClickRow(row);
    NMITEMACTIVATE click{};
    click.hdr = {GetDlgItem(Dlg(), IDC_RESULTS), IDC_RESULTS, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(calls, std::vector<std::u16string>{expected[row]});
  }
  SetEnvironmentVariableW(L"PATHEXT", pathExt);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, extension.c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, progId.c_str());
}

TEST_F(MainDialogRun, HeaderClickSortsAndCtrlCCopiesTheSelectedRows) {
  for (const char16_t* name : {u"b.txt", u"A.txt", u"c.txt"})
    tree_.MakeFile(name);
  dialog_.run().worker().SetFileProcessor(OneMatchPerFile);
  RunToEnd();
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  NMLISTVIEW header{};
  header.hdr = {list, IDC_RESULTS, static_cast<UINT>(LVN_COLUMNCLICK)};
  header.iSubItem = 0;  // Name again: descending
  SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&header));
  ClickRow(0);
  EXPECT_EQ(GetItemText(Dlg(), IDC_DETAILS).substr(0, tree_.Path(u"c.txt").size()),
            tree_.Path(u"c.txt"));

  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  for (WORD key : {WORD{'A'}, WORD{'C'}}) {
    NMLVKEYDOWN down{};
    down.hdr = {list, IDC_RESULTS, static_cast<UINT>(LVN_KEYDOWN)};
    down.wVKey = key;
    SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&down));
  }
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_TRUE(OpenClipboard(Dlg()));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* text = data ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
  std::u16string copied = text ? std::u16string(text) : u"";
  if (text)
    GlobalUnlock(data);
  CloseClipboard();
  std::vector<std::u16string> firstCells;
  for (size_t at = 0; at < copied.size();) {
    const size_t end = copied.find(u"\r\n", at);
    const std::u16string line = copied.substr(at, end - at);
    firstCells.push_back(line.substr(0, line.find(u'\t')));
    at = end == std::u16string::npos ? copied.size() : end + 2;
  }
  EXPECT_EQ(firstCells, (std::vector<std::u16string>{u"Name", u"c.txt", u"b.txt", u"A.txt"}));
}

TEST_F(MainDialogRun, UndoAsksOnceAndListsEachRestoredFile) {
  TempTree backups;
  dialog_.settings.backupDirectory = backups.root();
  tree_.MakeFile(u"a.txt", "an old tale");
  const auto undoGrayed = [&] {
    HMENU action = GetSubMenu(dialog_.menu(), 1);
    SendMessageW(Dlg(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(action), 1);
    return MenuGrayed(1, 5);
  };
  EXPECT_TRUE(undoGrayed()) << "nothing to undo yet";
  RunToEnd();
  EXPECT_FALSE(undoGrayed());
  std::vector<std::u16string> shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown.push_back(text);
    return IDOK;
  });
  Command(ID_ACTION_UNDO);
  WindowMessagePump().ServeUntil([&] { return dialog_.runState() == RunState::Idle; });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].starts_with(u"Undo the run of "));
  EXPECT_TRUE(shown[0].ends_with(u": 1 files?"));
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  wchar_t result[64] = {};
  ListView_GetItemText(list, 0, 4, result, 64);
  EXPECT_EQ(std::wstring(result), L"Restored");
  std::ifstream in(tree_.FsPath(u"a.txt"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "an old tale");
  EXPECT_TRUE(undoGrayed()) << "the only run is undone";
}

TEST_F(MainDialogRun, PreviewTicksEveryRowAndApplyChangesOnlyTheTickedFiles) {
  dialog_.settings.makeBackup = 0;
  for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt"})
    tree_.MakeFile(name, "an old tale");
  const auto content = [&](const char16_t* name) {
    std::ifstream in(tree_.FsPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto serve = [&] {
    WindowMessagePump().ServeUntil([&] { return dialog_.runState() == RunState::Idle; });
  };
  HWND list = GetDlgItem(Dlg(), IDC_RESULTS);
  const auto ticked = [&](int row) {
    return ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  };
  SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(ID_ACTION_PREVIEW, 1), 0);  // Ctrl+F5
  serve();
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  EXPECT_EQ(content(u"b.txt"), "an old tale");
  EXPECT_EQ(GetItemText(Dlg(), IDC_RUN), u"Apply");
  wchar_t result[64] = {};
  ListView_GetItemText(list, 0, 4, result, 64);
  EXPECT_EQ(std::wstring(result), L"1 changes");
  for (int row = 0; row < 3; ++row)
    EXPECT_TRUE(ticked(row)) << row;
  ClickRow(1);
  const std::u16string details = GetItemText(Dlg(), IDC_DETAILS);
  EXPECT_NE(details.find(u"an »old« tale"), std::u16string::npos) << platform::Wide(details);
  EXPECT_NE(details.find(u"an »new« tale"), std::u16string::npos);

  NMLVKEYDOWN space{};
  space.hdr = {list, IDC_RESULTS, static_cast<UINT>(LVN_KEYDOWN)};
  space.wVKey = VK_SPACE;
  SendMessageW(Dlg(), WM_NOTIFY, IDC_RESULTS, reinterpret_cast<LPARAM>(&space));
  EXPECT_FALSE(ticked(1));
  Command(IDC_RUN);
  serve();
  EXPECT_EQ(content(u"a.txt"), "an new tale");
  EXPECT_EQ(content(u"b.txt"), "an old tale");
  EXPECT_EQ(content(u"c.txt"), "an new tale");
  EXPECT_EQ(ListView_GetItemCount(list), 2);
  EXPECT_EQ(GetItemText(Dlg(), IDC_RUN), u"Run");

  // A changed field ends a preview.
  Command(IDC_PREVIEW);
  serve();
  ASSERT_EQ(GetItemText(Dlg(), IDC_RUN), u"Apply");
  SetItemText(Dlg(), IDC_MASKS, u"*.txt");
  EXPECT_EQ(GetItemText(Dlg(), IDC_RUN), u"Run");
  EXPECT_FALSE(ticked(0));
}

// While Find only searches a large file the window answers at once, and Stop ends the run
// within a second.
TEST_F(MainDialogRun, WindowAnswersDuringALargeFindAndStopEndsItSoon) {
  using Clock = std::chrono::steady_clock;
  using std::chrono::milliseconds;
  // 2 GiB without data blocks, read as UTF-16 (where zero units are text): far longer to search
  // than the test waits before Stop.
  if (!tree_.MakeSparseFile(u"large.txt", std::uint64_t{2} << 30))
    GTEST_SKIP() << "no sparse file";
  dialog_.settings.inputCodePage = kCodePageUtf16Le;
  SetComboSelection(Dlg(), IDC_ACTION, 1);
  SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_ACTION, CBN_SELCHANGE), 0);
  std::atomic<bool> probing{true};
  std::atomic<long long> slowest{0};
  HWND dlg = Dlg();
  std::thread prober([&] {
    while (probing) {
      const auto sent = Clock::now();
      DWORD_PTR answer = 0;
      const bool answered =
          SendMessageTimeoutW(dlg, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer) != 0;
      const long long took =
          answered ? std::chrono::duration_cast<milliseconds>(Clock::now() - sent).count() : 2000;
      slowest = std::max(slowest.load(), took);
      std::this_thread::sleep_for(milliseconds(10));
    }
  });
  Command(IDC_RUN);
  const auto started = Clock::now();
  WindowMessagePump().ServeUntil([&] {
    return Clock::now() - started > milliseconds(400) || dialog_.runState() == RunState::Idle;
  });
  const bool running = dialog_.runState() == RunState::Running;
  const auto stopped = Clock::now();
  Command(ID_ACTION_STOP);
  WindowMessagePump().ServeUntil([&] { return dialog_.runState() == RunState::Idle; });
  const auto stopping = Clock::now() - stopped;
  probing = false;
  prober.join();
  EXPECT_TRUE(running) << "the search ended before Stop";
  EXPECT_LT(stopping, milliseconds(1000));
  EXPECT_LT(slowest.load(), 500);
}
