#include "platform/win32/registry_settings_key_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide.h"

namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

class RegistryKey : public SettingsKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() override { RegCloseKey(key_); }

  KeyReadStatus ReadBinary(const std::u16string& name, void* buffer, size_t capacity,
                           size_t& size) override {
    return Query(name, static_cast<BYTE*>(buffer), capacity, size);
  }

  KeyReadStatus ValueSize(const std::u16string& name, size_t& size) override {
    return Query(name, nullptr, 0, size);
  }

  bool WriteBinary(const std::u16string& name, const void* data, size_t size) override {
    return RegSetValueExW(key_, platform::Wide(name), 0, REG_BINARY, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

  // The values are seen by every reader once set and the system writes the hive to disk on its
  // own; RegFlushKey would wait for the disk on every save.
  bool Flush() override { return true; }

 private:
  // Without a buffer only the size is asked for.
  KeyReadStatus Query(const std::u16string& name, BYTE* buffer, size_t capacity, size_t& size) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(std::min<size_t>(capacity, MAXDWORD));
    LSTATUS status = RegQueryValueExW(key_, platform::Wide(name), nullptr, &type, buffer, &bytes);
    if (status == ERROR_FILE_NOT_FOUND)
      return KeyReadStatus::Missing;
    if (status == ERROR_MORE_DATA)
      return KeyReadStatus::TooLarge;
    if (status != ERROR_SUCCESS)
      return KeyReadStatus::Failed;
    if (type != REG_BINARY)
      return KeyReadStatus::WrongType;
    size = bytes;
    return KeyReadStatus::Ok;
  }

  HKEY key_;
};

}  // namespace

RegistrySettingsKeyStore::RegistrySettingsKeyStore(std::u16string subKey)
    : subKey_(std::move(subKey)) {}

std::unique_ptr<SettingsKey> RegistrySettingsKeyStore::Open(bool create) {
  HKEY key = nullptr;
  LSTATUS status =
      create ? RegCreateKeyExW(HKEY_CURRENT_USER, platform::Wide(subKey_), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key, nullptr)
             : RegOpenKeyExW(HKEY_CURRENT_USER, platform::Wide(subKey_), 0, kAccess, &key);
  if (status != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<RegistryKey>(key);
}
