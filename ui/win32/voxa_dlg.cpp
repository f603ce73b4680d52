#include "ui/win32/voxa_dlg.h"

#include <commctrl.h>
#include <ole2.h>

#include "platform/string_table.h"
#include "platform/win32/registry_settings_key_win32.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "run/standard_run_checks.h"
#include "text/quoted_list.h"
#include "ui/mask_presets.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/application.h"
#include "ui/win32/centred_icon.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"

namespace {

constexpr int kInitialWidth = 700;
constexpr int kInitialHeight = 570;
constexpr int kVisibleActions = 7;
constexpr int kFileMenu = 0;
constexpr int kOpenErrorLogItem = 1;
constexpr int kActionMenu = 1;
// Posted at start-up: the check for a run whose process died comes once the window is up.
constexpr UINT kOfferRecoveryMessage = WM_APP + 17;

constexpr unsigned kActionNames[] = {IDS_ACTION_REPLACE,     IDS_ACTION_FIND_ONLY,
                                     IDS_ACTION_DELETE,      IDS_ACTION_PLACE_BEFORE,
                                     IDS_ACTION_PLACE_AFTER, IDS_ACTION_ADD_TO_BEGINNING,
                                     IDS_ACTION_ADD_TO_END};

}  // namespace

CVOXADlg::CVOXADlg(HWND parent, SettingsKeyStore* store)
    : Dialog(IDD_VOXA_DIALOG, parent),
      maskPresets(LoadMaskPresets(MaskPresetFiles())),
      run_(*this, *this, channel_, settings, recentFolders) {
  if (!store) {
    ownStore_ = std::make_unique<RegistrySettingsKeyStore>();
    store = ownStore_.get();
  }
  store_ = store;
  run_.SetChecks(StandardRunChecks(regex_));
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CVOXADlg::~CVOXADlg() {
  // The worker must be done with the window before it goes.
  if (hwnd())
    StopRunAndWait();
  if (hwnd() && menu_)
    SetMenu(hwnd(), nullptr);
  if (menu_)
    DestroyMenu(menu_);
}

bool CVOXADlg::OnInitDialog() {
  Dialog::OnInitDialog();
  channel_.SetWindow(hwnd());
  run_.SetOwnerDialog(hwnd());
  if (Application* app = Application::Current(); app && !app->mainWindow())
    app->SetMainWindow(hwnd());
  OleInitialize(nullptr);

  if (HMENU systemMenu = GetSystemMenu(hwnd(), FALSE)) {
    std::u16string about = platform::LoadText(IDS_ABOUTBOX);
    if (!about.empty()) {
      AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, platform::Wide(about));
    }
  }
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  searchPathEdit_.Attach(Item(IDC_SEARCH_PATH));
  AttachHistoryGestures();
  detailsGestures_.Attach(Item(IDC_DETAILS), 0, ID_DETAILS_OPEN_LINE);
  SetItemText(hwnd(), IDC_MASKS, platform::LoadText(IDS_DEFAULT_MASK));
  SetItemChecked(hwnd(), IDC_INCLUDE_SUBFOLDERS, true);
  for (unsigned name : kActionNames)
    AddComboItem(hwnd(), IDC_ACTION, platform::LoadText(name));
  SetComboSelection(hwnd(), IDC_ACTION, 0);
  LoadStoredSettings();
  if (!startFolders.empty())
    SetItemText(hwnd(), IDC_SEARCH_PATH, JoinQuotedList(startFolders));
  DragAcceptFiles(hwnd(), TRUE);

  resultsList_.Attach(Item(IDC_RESULTS));
  resultsList_.SetUpColumns();
  SendDlgItemMessageW(hwnd(), IDC_DETAILS, EM_SETREADONLY, TRUE, 0);
  CreateStatusBar();
  LoadMainMenu();
  errorLog_.InitErrorLog(settings);

  RECT client{};
  GetClientRect(hwnd(), &client);
  layoutRect = {client.left, client.top, client.right, client.bottom};
  SetWindowPos(hwnd(), nullptr, 0, 0, ScaleForDpi(kInitialWidth, dpi()),
               ScaleForDpi(kInitialHeight, dpi()), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  run_.SetRunningUi(true);
  SendDlgItemMessageW(hwnd(), IDC_ACTION, CB_SETMINVISIBLE, kVisibleActions, 0);
  EnableItem(hwnd(), IDC_USE_VARIABLES, !IsItemChecked(hwnd(), IDC_RENAME_MODE));
  PostMessageW(hwnd(), kOfferRecoveryMessage, 0, 0);
  return true;
}

void CVOXADlg::CreateStatusBar() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  int height = ScaleForDpi(kStatusBarHeightAt96, dpi());
  statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, client.left,
                               client.bottom - height, client.right - client.left, height, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                               GetModuleHandleW(nullptr), nullptr);
  // The dialog's font, so that the status text follows a change of DPI with the rest.
  SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  SendMessageW(statusBar_, SB_SIMPLE, TRUE, 0);
  SetStatusText(platform::LoadText(IDS_READY));
}

void CVOXADlg::SetStatusText(const std::u16string& text) {
  SendMessageW(statusBar_, SB_SETTEXTW, SB_SIMPLEID,
               reinterpret_cast<LPARAM>(platform::Wide(text)));
}

std::u16string CVOXADlg::StatusText() const {
  // In simple mode the control answers for its simple pane under part index 0.
  LRESULT info = SendMessageW(statusBar_, SB_GETTEXTLENGTHW, 0, 0);
  std::u16string text(LOWORD(info) + 1, u'\0');
  SendMessageW(statusBar_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

void CVOXADlg::UpdateErrorLogMenuItem() {
  if (!menu_)
    return;
  EnableMenuItem(GetSubMenu(menu_, kFileMenu), kOpenErrorLogItem,
                 MF_BYPOSITION | (settings.saveErrorLog ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(hwnd());
}

void CVOXADlg::LoadMainMenu() {
  menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
  if (!menu_ || !SetMenu(hwnd(), menu_))
    return;
  UpdateErrorLogMenuItem();
  UpdateUndoMenuItem();
  DrawMenuBar(hwnd());
}

void CVOXADlg::UpdateUndoMenuItem() {
  if (menu_)
    EnableMenuItem(menu_, ID_ACTION_UNDO,
                   MF_BYCOMMAND | (run_.CanUndo() ? MF_ENABLED : MF_GRAYED));
}

void CVOXADlg::EndProgram(INT_PTR result) {
  StopRunAndWait();
  SaveStoredSettings(false);
  EndDialog(result);
}

void CVOXADlg::PaintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  DrawIconCentred(dc, client, icon_);
  EndPaint(hwnd(), &paint);
}

bool CVOXADlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The worker's messages come before everything else.
  if (channel_.HandleMessage(run_, message, wParam, lParam, result))
    return true;
  switch (message) {
    case WM_PAINT:
      if (!IsIconic(hwnd()))
        return false;
      PaintMinimised();
      result = 0;
      return true;
    case WM_DRAWITEM:
      if (!DrawHistoryButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
        return false;
      result = TRUE;
      return true;
    case WM_TIMER:
      if (wParam != kRowsTimer)
        return false;
      OnRowsTimer();
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == GetSubMenu(menu_, kActionMenu))
        UpdateUndoMenuItem();
      return false;
    case kOfferRecoveryMessage:
      run_.OfferRecovery();
      result = 0;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_);
      return true;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
        return false;
      {
        CAboutDlg about(hwnd());
        about.DoModal();
      }
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      // From the keyboard the point is (-1, -1); a right click has its own notification.
      if (reinterpret_cast<HWND>(wParam) != resultsList_.hwnd() || lParam != -1)
        return false;
      OnResultsMenuKey();
      result = 0;
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_CLOSE:
      StopRunAndWait();
      SaveStoredSettings(false);
      return false;  // default processing ends the dialog
    case WM_QUERYENDSESSION:
      // The session may end; the system shows why it waits for the program (only real Windows
      // shows the reason: Wine's ShutdownBlockReasonCreate does nothing).
      if (run_.runState() != RunState::Idle)
        ShutdownBlockReasonCreate(hwnd(),
                                  platform::Wide(platform::LoadText(IDS_SEARCH_CHANGING_FILES)));
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      // Once this returns the process may end at any moment: the file in hand is finished first.
      if (wParam) {
        StopRunAndWait();
        SaveStoredSettings(true);
      }
      ShutdownBlockReasonDestroy(hwnd());
      result = 0;
      return true;
    default:
      return false;
  }
}

void CVOXADlg::OnDpiChanged(int oldDpi, int newDpi) {
  // The upper controls were scaled in place; the previous pass is scaled with them, so that the
  // resize that follows moves nothing beyond the change of width.
  auto scale = [&](int value) { return MulDiv(value, newDpi, oldDpi); };
  if (!layoutRect.IsZero())
    layoutRect = {scale(layoutRect.left), scale(layoutRect.top), scale(layoutRect.right),
                  scale(layoutRect.bottom)};
  resultsList_.ScaleColumns(oldDpi, newDpi);
}
