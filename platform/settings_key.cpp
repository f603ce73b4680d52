#include "platform/settings_key.h"

#include <cstring>

namespace {

class MemoryKey : public SettingsKey {
 public:
  explicit MemoryKey(MemorySettingsKeyStore& store) : store_(store) {}

  KeyReadStatus ReadBinary(const std::u16string& name, void* buffer, size_t capacity,
                           size_t& size) override {
    const KeyReadStatus status = ValueSize(name, size);
    if (status != KeyReadStatus::Ok)
      return status;
    if (size > capacity)
      return KeyReadStatus::TooLarge;
    if (size)
      std::memcpy(buffer, store_.values[name].bytes.data(), size);
    return KeyReadStatus::Ok;
  }

  KeyReadStatus ValueSize(const std::u16string& name, size_t& size) override {
    auto found = store_.values.find(name);
    if (found == store_.values.end())
      return KeyReadStatus::Missing;
    if (!found->second.binary)
      return KeyReadStatus::WrongType;
    size = found->second.bytes.size();
    return KeyReadStatus::Ok;
  }

  bool WriteBinary(const std::u16string& name, const void* data, size_t size) override {
    if (store_.writeProtected)
      return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    store_.values[name] = {true, std::vector<unsigned char>(bytes, bytes + size)};
    return true;
  }

  bool Flush() override { return true; }

 private:
  MemorySettingsKeyStore& store_;
};

}  // namespace

std::unique_ptr<SettingsKey> MemorySettingsKeyStore::Open(bool create) {
  if (!exists) {
    if (!create || writeProtected)
      return nullptr;
    exists = true;
  }
  return std::make_unique<MemoryKey>(*this);
}
