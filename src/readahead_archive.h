// readahead_archive: an archive_source that serves small reads from a window read ahead in one
// piece. Extraction walks small members in archive order, so a window holds many of them and
// each costs a copy from memory instead of a read from the file.
#ifndef VOSTREL_DAT_READAHEAD_ARCHIVE_H_
#define VOSTREL_DAT_READAHEAD_ARCHIVE_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive_file.h"

class readahead_archive final : public archive_source {
 public:
  // Reads through `inner`, which must outlive this object. Reads larger than a quarter of the
  // window go straight to `inner`.
  explicit readahead_archive(archive_source& inner, std::size_t window_size = 256 << 10)
      : inner_(inner), window_size_(window_size) {}

  std::int64_t length() const override { return inner_.length(); }
  std::int64_t read_at(std::int64_t pos, std::span<unsigned char> dst, std::string* error) override;
  int native_handle() const override { return inner_.native_handle(); }

 private:
  archive_source& inner_;
  std::size_t window_size_;
  std::vector<unsigned char> window_;  // allocated on first use
  std::int64_t window_pos_ = 0;        // archive position of window_[0]
  std::int64_t window_len_ = 0;        // bytes of window_ that hold archive data
};

#endif  // VOSTREL_DAT_READAHEAD_ARCHIVE_H_
