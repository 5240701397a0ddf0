// output_file: putting a finished file in place, and removing an unfinished one. The platform's
// file calls are in output_file_posix.cc and output_file_win32.cc.
#include "output_file.h"

output_file::~output_file() { discard(); }

bool output_file::commit(std::string* error) {
  const int fd = fd_;
  fd_ = -1;
  std::string why;
  if (!close_descriptor(fd, &why)) {
    *error = "can't write the file: " + why;
    discard();
    return false;
  }
  if (!temp_name_.empty() && !replace_name(temp_name_, name_, &why)) {
    *error = "can't replace the existing file: " + why;
    discard();
    return false;
  }
  name_.clear();
  temp_name_.clear();
  return true;
}

void output_file::discard() {
  if (fd_ >= 0) {
    std::string ignored;
    close_descriptor(fd_, &ignored);
    fd_ = -1;
  }
  const std::string& created = temp_name_.empty() ? name_ : temp_name_;
  if (!created.empty()) remove_name(created);
  name_.clear();
  temp_name_.clear();
}
