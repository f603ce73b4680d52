// The folders that directory listings hold open on this thread. A path directly inside the
// innermost one is looked up relative to its descriptor: the kernel then resolves one name
// instead of walking the whole path again for every file of the folder.
#pragma once

#include <sys/stat.h>

#include <string>

namespace platform {

// Registers a listed folder for as long as it lives; listings nest, as a walk does.
class ListedFolder {
 public:
  ListedFolder(std::string path, int descriptor);
  ~ListedFolder();
  ListedFolder(const ListedFolder&) = delete;
  ListedFolder& operator=(const ListedFolder&) = delete;

  // The status the listing read of its current entry, for the next ReadStatus of that entry
  // alone: a file's attributes are read just after its listing, and need not be read twice.
  void OfferStatus(const std::string& name, const struct stat& status);
  void WithdrawStatus();

 private:
  friend struct PathLookup;
  std::string path_;
  int descriptor_;
  ListedFolder* outer_;
  std::string offeredName_;
  struct stat offered_ {};
  bool hasOffer_ = false;
};

// Where the *at system calls are to look a path up: the innermost listed folder's descriptor
// and the last name when the path lies directly in it, else AT_FDCWD and the whole path.
struct PathLookup {
  explicit PathLookup(const std::string& path);

  // The status of the path, links followed: the one the listing offered for it, if any, else
  // read now. False with errno set when it cannot be read.
  bool ReadStatus(struct stat& status) const;

  int folder;
  const char* name;

 private:
  ListedFolder* listed_ = nullptr;
};

}  // namespace platform
