// archive_source: random-access reads from the archive being extracted.
//
// Extraction reads the archive only through this interface, so tests can serve an archive from
// memory and the platform's file calls stay in one place (file_archive).
#ifndef VOSTREL_DAT_ARCHIVE_FILE_H_
#define VOSTREL_DAT_ARCHIVE_FILE_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class archive_source {
 public:
  virtual ~archive_source() = default;

  // The archive's length in bytes, fixed when it was opened.
  virtual std::int64_t length() const = 0;

  // Reads up to dst.size() bytes starting at absolute position `pos`.
  // REQUIRES: 0 <= pos.
  // Returns the number of bytes read, which is short only where the archive ends, or -1 on a
  // read error (with *error describing it).
  virtual std::int64_t read_at(std::int64_t pos, std::span<unsigned char> dst,
                               std::string* error) = 0;

  // The open file descriptor behind the archive, for copies the kernel can make without passing
  // the bytes through memory; -1 when there is none.
  virtual int native_handle() const { return -1; }
};

// An archive held in memory; the bytes are borrowed and must outlive the object.
class memory_archive final : public archive_source {
 public:
  explicit memory_archive(std::span<const unsigned char> bytes) : bytes_(bytes) {}
  std::int64_t length() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t read_at(std::int64_t pos, std::span<unsigned char> dst, std::string* error) override;

 private:
  std::span<const unsigned char> bytes_;
};

// An archive file on disk, opened read-only in binary mode and closed on destruction.
class file_archive final : public archive_source {
 public:
  // Opens `path`; returns nullptr when it cannot be opened for reading or is a directory.
  static std::unique_ptr<file_archive> open(const std::string& path);
  // Takes ownership of the open descriptor `fd`; open() is the usual way in.
  file_archive(int fd, std::int64_t length) : fd_(fd), length_(length) {}
  ~file_archive() override;
  file_archive(const file_archive&) = delete;
  file_archive& operator=(const file_archive&) = delete;

  std::int64_t length() const override { return length_; }
  std::int64_t read_at(std::int64_t pos, std::span<unsigned char> dst, std::string* error) override;
  int native_handle() const override { return fd_; }

 private:
  int fd_;
  std::int64_t length_;
};

#endif  // VOSTREL_DAT_ARCHIVE_FILE_H_
