// The settings key in the current user's registry hive.
#pragma once

#include <string>

#include "platform/settings_key.h"

class RegistrySettingsKeyStore : public SettingsKeyStore {
 public:
  // The program's key; tests pass a key of their own.
  explicit RegistrySettingsKeyStore(std::u16string subKey = u"Software\\Brenwyk\\VOXA");
  std::unique_ptr<SettingsKey> Open(bool create) override;

 private:
  std::u16string subKey_;
};
