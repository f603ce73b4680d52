#include "platform/posix/listed_folder.h"

#include <fcntl.h>

#include <string_view>
#include <utility>

namespace platform {
namespace {

thread_local ListedFolder* innermost = nullptr;

}  // namespace

ListedFolder::ListedFolder(std::string path, int descriptor)
    : path_(std::move(path)), descriptor_(descriptor), outer_(innermost) {
  innermost = this;
}

ListedFolder::~ListedFolder() {
  // Unlinked wherever it stands, should listings end out of order.
  for (ListedFolder** link = &innermost; *link; link = &(*link)->outer_) {
    if (*link == this) {
      *link = outer_;
      return;
    }
  }
}

PathLookup::PathLookup(const std::string& path) : folder(AT_FDCWD), name(path.c_str()) {
  ListedFolder* listed = innermost;
  const size_t separator = path.rfind('/');
  if (!listed || separator == std::string::npos || separator + 1 == path.size())
    return;
  const std::string_view folderPath(path.data(), separator == 0 ? 1 : separator);
  if (folderPath != listed->path_)
    return;
  folder = listed->descriptor_;
  name = path.c_str() + separator + 1;
  listed_ = listed;
}

bool PathLookup::ReadStatus(struct stat& status) const {
  if (listed_ && listed_->hasOffer_ && listed_->offeredName_ == name) {
    status = listed_->offered_;
    listed_->WithdrawStatus();
    return true;
  }
  return fstatat(folder, name, &status, 0) == 0;
}

void ListedFolder::OfferStatus(const std::string& name, const struct stat& status) {
  offeredName_ = name;
  offered_ = status;
  hasOffer_ = true;
}

void ListedFolder::WithdrawStatus() {
  hasOffer_ = false;
}

}  // namespace platform
