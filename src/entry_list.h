// entry_list: the archive's members in directory order, as a singly linked list of entry_node.
//
// The directory reader appends one node per record; extraction fetches them back by index.
// The list remembers its tail and the last position a lookup reached, so building the list and
// walking it by ascending index cost O(1) per member instead of a walk from the head each time.
#ifndef VOSTREL_DAT_ENTRY_LIST_H_
#define VOSTREL_DAT_ENTRY_LIST_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string_view>

inline constexpr std::size_t entry_name_size = 16;

// One member of the archive. Kept small: an archive may hold hundreds of thousands of them.
struct entry_node {
  // The stored name's bytes, zero-padded; a name that fills the field has no terminator.
  std::array<char, entry_name_size> name_bytes{};
  std::int32_t offset = 0;  // from the start of the data area
  std::int32_t size = 0;    // in bytes, as stored (may be negative in a damaged archive)
  std::unique_ptr<entry_node> next;

  // The name up to its terminator, or all 16 bytes when it has none.
  std::string_view name() const {
    const auto end = std::find(name_bytes.begin(), name_bytes.end(), '\0');
    return {name_bytes.data(), static_cast<std::size_t>(end - name_bytes.begin())};
  }
};

// The list's bookkeeping, kept apart from the list object itself.
struct list_header {
  std::int32_t count = 0;
  std::unique_ptr<entry_node> head;
  entry_node* tail = nullptr;
  // Where the last successful lookup by position stopped; lets ascending lookups resume there.
  entry_node* cursor = nullptr;
  std::int32_t cursor_index = 0;
};

class entry_list {
 public:
  // Lookup diagnostics ("index out of bound", "search failed ...") go to `diagnostics`.
  explicit entry_list(std::ostream& diagnostics = std::cout);
  ~entry_list();
  entry_list(const entry_list&) = delete;
  entry_list& operator=(const entry_list&) = delete;

  // Adds a node at the end. `name` is taken up to its first zero byte, if it has one, and to at
  // most entry_name_size bytes.
  void append(std::string_view name, std::int32_t offset, std::int32_t size);

  // Returns the node at position `index` (0 is the head; -1 means the last node), or nullptr.
  // Out-of-range lookups print a diagnostic line, except a negative index on an empty list.
  const entry_node* at(std::int32_t index);

  // Releases every node, front first and iteratively, so a long list cannot exhaust the stack.
  void clear();

  std::int32_t count() const { return header_->count; }

 private:
  std::unique_ptr<list_header> header_;
  std::ostream& diagnostics_;
};

#endif  // VOSTREL_DAT_ENTRY_LIST_H_
