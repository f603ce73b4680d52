// A per-user key of named binary values: where the settings store keeps its values. The program
// uses the registry; tests use the in-memory key.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

enum class KeyReadStatus {
  Ok,
  Missing,    // no value of that name
  WrongType,  // not a binary value
  TooLarge,   // longer than the buffer
  Failed,     // any other error
};

class SettingsKey {
 public:
  virtual ~SettingsKey() = default;
  // Reads a binary value into `buffer` (at most its capacity); `size` receives the bytes read.
  virtual KeyReadStatus ReadBinary(const std::u16string& name, void* buffer, size_t capacity,
                                   size_t& size) = 0;
  // The size in bytes of a binary value, without reading it.
  virtual KeyReadStatus ValueSize(const std::u16string& name, size_t& size) = 0;
  virtual bool WriteBinary(const std::u16string& name, const void* data, size_t size) = 0;
  virtual bool Flush() = 0;
};

class SettingsKeyStore {
 public:
  virtual ~SettingsKeyStore() = default;
  // Opens the key, creating it when `create`; null when that fails (or it does not exist).
  virtual std::unique_ptr<SettingsKey> Open(bool create) = 0;
};

// Keeps the values in memory; `values` is public so that tests can look and tamper.
class MemorySettingsKeyStore : public SettingsKeyStore {
 public:
  struct Value {
    bool binary = true;
    std::vector<unsigned char> bytes;
  };
  std::unique_ptr<SettingsKey> Open(bool create) override;

  bool exists = false;
  bool writeProtected = false;
  std::map<std::u16string, Value> values;
};
