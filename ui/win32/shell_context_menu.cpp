#include "ui/win32/shell_context_menu.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/wide.h"
#include "ui/result_open.h"
#include "ui/win32/com_ref.h"
#include "ui/win32/modal_hooks.h"

namespace {

constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7000;
constexpr UINT kOpenLocationCommand = kLastShellCommand + 1;
constexpr UINT kHelpTextLength = 260;

// The menu being tracked and the window procedure it replaced; one menu at a time per thread.
struct ActiveMenu {
  IContextMenu2* menu2 = nullptr;
  IContextMenu3* menu3 = nullptr;
  IContextMenu* menu = nullptr;
  WNDPROC previous = nullptr;
};
thread_local ActiveMenu active;

HRESULT HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (active.menu3) {
    LRESULT ignored = 0;
    return active.menu3->HandleMenuMsg2(message, wParam, lParam, &ignored);
  }
  return active.menu2->HandleMenuMsg(message, wParam, lParam);
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP:
      HandleMenuMessage(message, wParam, lParam);
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (wParam == 0) {  // from a menu, not a control
        HandleMenuMessage(message, wParam, lParam);
        return 1;
      }
      break;
    case WM_MENUSELECT: {
      UINT command = LOWORD(wParam);
      if (!(HIWORD(wParam) & MF_POPUP) && command >= kFirstShellCommand &&
          command <= kOpenLocationCommand) {
        // The help text is asked for, as the shell expects, but not shown.
        wchar_t help[kHelpTextLength] = {};
        if (command <= kLastShellCommand)
          active.menu->GetCommandString(command - kFirstShellCommand, GCS_HELPTEXTW, nullptr,
                                        reinterpret_cast<char*>(help), kHelpTextLength);
        return 0;
      }
      break;
    }
  }
  return CallWindowProcW(active.previous, hwnd, message, wParam, lParam);
}

struct IdListFree {
  IMalloc* allocator;
  LPITEMIDLIST list;
  ~IdListFree() {
    if (list)
      allocator->Free(list);
  }
};

// The last item of an item ID list.
LPITEMIDLIST LastItem(LPITEMIDLIST list) {
  LPITEMIDLIST last = list;
  for (LPITEMIDLIST item = list; item->mkid.cb;
       item = reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<BYTE*>(item) + item->mkid.cb))
    last = item;
  return last;
}

}  // namespace

ShellContextMenu::~ShellContextMenu() {
  if (popup_)
    DestroyMenu(popup_);
}

UINT ShellContextMenu::Show(HWND owner, POINT screenPoint, const std::u16string& path,
                            const std::u16string& extraText, const OwnCommands& own) {
  ComRef<IMalloc> allocator;
  ComRef<IShellFolder> desktop;
  if (FAILED(SHGetMalloc(allocator.Receive())) || FAILED(SHGetDesktopFolder(desktop.Receive())))
    return 0;

  std::u16string displayName = path;
  IdListFree idList{allocator.get(), nullptr};
  if (FAILED(desktop->ParseDisplayName(owner, nullptr,
                                       const_cast<wchar_t*>(platform::Wide(displayName)), nullptr,
                                       &idList.list, nullptr)) ||
      !idList.list)
    return 0;

  // Bind to the parent folder by ending the list before its last item for a moment.
  LPITEMIDLIST last = LastItem(idList.list);
  USHORT lastSize = last->mkid.cb;
  last->mkid.cb = 0;
  ComRef<IShellFolder> parent;
  HRESULT bound =
      idList.list->mkid.cb
          ? desktop->BindToObject(idList.list, nullptr, IID_IShellFolder, parent.ReceiveVoid())
          : desktop->QueryInterface(IID_IShellFolder, parent.ReceiveVoid());
  last->mkid.cb = lastSize;
  if (FAILED(bound))
    return 0;

  ComRef<IContextMenu> menu;
  LPCITEMIDLIST child = last;
  if (FAILED(
          parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu.ReceiveVoid())))
    return 0;
  ComRef<IContextMenu3> menu3;
  ComRef<IContextMenu2> menu2;
  if (FAILED(menu->QueryInterface(IID_IContextMenu3, menu3.ReceiveVoid())))
    menu->QueryInterface(IID_IContextMenu2, menu2.ReceiveVoid());

  if (popup_)
    DestroyMenu(popup_);
  popup_ = CreatePopupMenu();
  if (!popup_)
    return 0;
  if (FAILED(menu->QueryContextMenu(popup_, 0, kFirstShellCommand, kLastShellCommand, CMF_EXPLORE)))
    return 0;
  std::u16string extra = extraText;
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING;
  item.wID = kOpenLocationCommand;
  item.dwTypeData = const_cast<wchar_t*>(platform::Wide(extra));
  InsertMenuItemW(popup_, 0, TRUE, &item);
  UINT position = 1;
  for (const auto& [id, text] : own)
    InsertMenuW(popup_, position++, MF_BYPOSITION | MF_STRING, id, platform::Wide(text));
  InsertMenuW(popup_, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

  bool hooked = menu3 || menu2;
  if (hooked) {
    active = {menu2.get(), menu3.get(), menu.get(), nullptr};
    active.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc)));
  }
  UINT command = static_cast<UINT>(TrackPopupMenu(popup_, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                  screenPoint.x, screenPoint.y, 0, owner, nullptr));
  if (hooked) {
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(active.previous));
    active = {};
  }

  for (const auto& entry : own) {
    if (command == entry.first)
      return command;
  }
  if (command == kOpenLocationCommand) {
    ShellOpen(nullptr, u"explorer.exe", ExplorerSelectParameters(path), u"", SW_SHOW);
  } else if (command != 0) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstShellCommand);
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&invoke);
  }
  return 0;
}
