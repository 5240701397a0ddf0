// libFuzzer target: runs the whole extraction in-process on the input as an archive, in a private
// working directory, and aborts when the outcome breaks one of the tool's guarantees:
//   - nothing is created or changed outside the working directory;
//   - every file created holds exactly the bytes of one member as the archive stores them (or,
//     for a member carrying an Ogg stream, the bytes behind its 64-byte prefix, from "OggS" on),
//     cut short only where the archive ends;
//   - no created name is one that must be refused, and no temporary file is left behind;
//   - the exit status is 0 or 2 and no exception escapes.
// The expected bytes come from a small independent reading of the layout below, not from the
// tool's own code.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "main.h"

namespace fs = std::filesystem;

namespace {

fs::path base_dir;  // holds input.dat and work/
fs::path work_dir;  // the tool's current directory while it runs
fs::path home_dir;  // the fuzzer's own current directory, where it reads and writes its files

[[noreturn]] void violation(const std::string& what) {
  std::cerr << "guarantee broken: " << what << std::endl;
  std::abort();
}

std::uint32_t le32(std::string_view b, std::size_t pos) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[pos])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[pos + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[pos + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[pos + 3])) << 24;
}

// The bytes of archive[start, start + size) that exist.
std::string_view clipped(std::string_view archive, std::int64_t start, std::int64_t size) {
  const auto length = static_cast<std::int64_t>(archive.size());
  if (start < 0 || size < 0 || start >= length) return {};
  return archive.substr(static_cast<std::size_t>(start),
                        static_cast<std::size_t>(std::min(size, length - start)));
}

bool has_parent_component(const std::string& name);

// Every output a record may produce, under its raw name: file name -> the bytes it may hold.
std::multimap<std::string, std::string_view> record_outputs(std::string_view archive) {
  std::multimap<std::string, std::string_view> outputs;
  if (archive.size() < 16) return outputs;
  const auto count = static_cast<std::int32_t>(le32(archive, 12));
  if (count <= 0) return outputs;
  const std::int64_t data_start = 16 + 32 * std::int64_t{count};
  for (std::int64_t i = 0;
       i < count && 16 + 32 * (i + 1) <= static_cast<std::int64_t>(archive.size()); ++i) {
    const std::size_t rec = static_cast<std::size_t>(16 + 32 * i);
    std::string name(archive.substr(rec, 16));
    if (const std::size_t end = name.find('\0'); end != std::string::npos) name.resize(end);
    const std::int64_t start = data_start + static_cast<std::int32_t>(le32(archive, rec + 16));
    const std::int64_t size = static_cast<std::int32_t>(le32(archive, rec + 20));
    if (size >= 68 && clipped(archive, start + 64, 4) == "OggS") {
      outputs.emplace(name + ".ogg", clipped(archive, start + 64, size - 64));
    } else {
      outputs.emplace(name, clipped(archive, start, size));
    }
  }
  return outputs;
}

// The outputs that may exist afterwards, keyed by their path as found in the working directory;
// names that must be refused have none.
std::multimap<std::string, std::string_view> allowed_outputs(
    const std::multimap<std::string, std::string_view>& outputs) {
  std::multimap<std::string, std::string_view> allowed;
  for (const auto& [name, bytes] : outputs) {
    if (name.empty() || name.starts_with("/") || has_parent_component(name)) continue;
    allowed.emplace(fs::path(name).lexically_normal().string(), bytes);
  }
  return allowed;
}

bool has_parent_component(const std::string& name) {
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0 && end - start == 2) return true;
    start = end + 1;
  }
  return false;
}

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fingerprint of a path outside the working directory that a refused name points at. The tool
// creates only files, so an existing directory counts as unchanged (others may be using it).
std::string outside_state(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return "absent";
  if (S_ISDIR(st.st_mode)) return "directory";
  return std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

// Names in the directory that would land outside the working directory if they were not refused.
std::vector<std::string> outside_targets(
    const std::multimap<std::string, std::string_view>& outputs) {
  const std::string inside = work_dir.string() + "/";
  std::vector<std::string> targets;
  for (const auto& [name, bytes] : outputs) {
    if (!name.starts_with("/") && !has_parent_component(name)) continue;
    std::string target = (work_dir / name).lexically_normal().string();
    if (target.starts_with(inside) || target + "/" == inside) continue;  // checked by name below
    targets.push_back(std::move(target));
  }
  return targets;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  std::string pattern = (fs::temp_directory_path() / "vostrel_fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) violation("mkdtemp failed");
  base_dir = pattern;
  work_dir = base_dir / "work";
  fs::create_directory(work_dir);
  home_dir = fs::current_path();
  if (std::atexit([] {
        std::error_code ignored;
        fs::remove_all(base_dir, ignored);
      }) != 0) {
    violation("atexit failed");
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view archive(reinterpret_cast<const char*>(data), size);
  const fs::path input = base_dir / "input.dat";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(archive.data(), static_cast<std::streamsize>(archive.size()));
  }
  // One subdirectory, so names through an existing directory are reachable.
  fs::create_directory(work_dir / "sub");

  const auto outputs = record_outputs(archive);
  const auto allowed = allowed_outputs(outputs);
  const std::vector<std::string> targets = outside_targets(outputs);
  std::vector<std::string> before;
  before.reserve(targets.size());
  for (const std::string& t : targets) before.push_back(outside_state(t));

  std::ostringstream out;
  std::ostringstream err;
  const std::string in_path = input.string();
  int status = -1;
  if (::chdir(work_dir.c_str()) != 0) violation("chdir failed");
  try {
    const char* argv[] = {"vostrel_dat", in_path.c_str()};
    status = tool_main(2, argv, out, err);
  } catch (...) {
    violation("an exception escaped tool_main");
  }
  if (::chdir(home_dir.c_str()) != 0) violation("chdir failed");
  if (status != 0 && status != 2) violation("exit status " + std::to_string(status));

  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (outside_state(targets[i]) != before[i]) violation("changed outside: " + targets[i]);
  }
  for (const auto& e : fs::directory_iterator(base_dir)) {
    const std::string n = e.path().filename().string();
    if (n != "work" && n != "input.dat") violation("created beside the working directory: " + n);
  }

  for (const auto& e : fs::recursive_directory_iterator(work_dir)) {
    const std::string name = fs::relative(e.path(), work_dir).string();
    if (name == "sub") continue;
    if (e.is_symlink() || !e.is_regular_file()) violation("created a non-file: " + name);
    if (has_parent_component(name)) violation("created a refused name: " + name);
    const std::string content = read_file(e.path());
    const auto [first, last] = allowed.equal_range(name);
    bool matched = false;
    for (auto it = first; it != last && !matched; ++it) matched = it->second == content;
    if (!matched && first == last && e.path().filename().string().starts_with(".vostrel_dat-")) {
      violation("left a temporary file: " + name);
    }
    if (!matched) violation("file holds bytes no member of that name holds: " + name);
  }

  std::error_code ignored;
  for (const auto& e : fs::directory_iterator(work_dir)) fs::remove_all(e.path(), ignored);
  return 0;
}
