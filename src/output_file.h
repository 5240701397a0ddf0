// output_file: one member's output file, written so that a failure never leaves a partial file
// under the member's name and never damages an existing file of that name.
//
// A name that does not exist yet is created directly (exclusively, so nothing is followed or
// overwritten by accident). A name that already exists is written to a temporary file in the same
// directory, which commit() renames over the name only after a complete write and close. Whatever
// was created is removed again when the output is discarded or the object is destroyed before
// commit(), so no temporary file is ever left behind.
#ifndef VOSTREL_DAT_OUTPUT_FILE_H_
#define VOSTREL_DAT_OUTPUT_FILE_H_

#include <cstdint>
#include <span>
#include <string>

class output_file {
 public:
  output_file() = default;
  ~output_file();
  output_file(const output_file&) = delete;
  output_file& operator=(const output_file&) = delete;

  // Each call that fails sets *error to a complete phrase such as "can't write the file: ...".

  // Starts the output for `name`, a path relative to the current directory.
  // REQUIRES: nothing is open yet.
  bool open(const std::string& name, std::string* error);

  // Appends `data` to the file. REQUIRES: open() succeeded.
  bool write(std::span<const unsigned char> data, std::string* error);

  // Appends up to `len` bytes of the file `in_fd` from position `pos`, copied by the kernel.
  // Sets *copied to the count appended, which is short only where the input ends. Returns false
  // on failure: with *unsupported set when the platform or file systems can't copy this way (the
  // caller copies the rest itself from pos + *copied), else with *error set.
  // REQUIRES: open() succeeded.
  bool copy_from(int in_fd, std::int64_t pos, std::int64_t len, std::int64_t* copied,
                 bool* unsupported, std::string* error);

  // Closes the file and puts it in place under its name. On failure the output is discarded.
  bool commit(std::string* error);

  // Closes and removes whatever open() created. Safe to call at any time.
  void discard();

 private:
  // The platform's pieces of commit() and discard(), defined in output_file_posix.cc or
  // output_file_win32.cc; each failing call sets *error to the system's text alone.
  static bool close_descriptor(int fd, std::string* error);
  static bool replace_name(const std::string& from, const std::string& to, std::string* error);
  static void remove_name(const std::string& name);

  int fd_ = -1;
  std::string name_;
  std::string temp_name_;  // empty when the file is written under its own name
};

#endif  // VOSTREL_DAT_OUTPUT_FILE_H_
