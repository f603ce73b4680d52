#include "platform/settings_key.h"

#include <cstring>

namespace {

class MemoryKey : public SettingsKey {
 public:
  explicit MemoryKey(MemorySettingsKeyStore& store) : store_(store) {}

  KeyReadStatus ReadBinary(const std::u16string& name, void* buffer, size_t capacity,
                           size_t& size) override {
    auto found = store_.values.find(name);
    if (found == store_.values.end())
      return KeyReadStatus::Missing;
    if (!found->second.binary)
      return KeyReadStatus::WrongType;
    if (found->second.bytes.size() > capacity)
      return KeyReadStatus::TooLarge;
    size = found->second.bytes.size();
    if (size)
      std::memcpy(buffer, found->second.bytes.data(), size);
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
