// entry_list: append, lookup by position and teardown of the member list.
#include "entry_list.h"

entry_list::entry_list(std::ostream& diagnostics)
    : header_(std::make_unique<list_header>()), diagnostics_(diagnostics) {}

entry_list::~entry_list() { clear(); }

void entry_list::append(std::string_view name, std::int32_t offset, std::int32_t size) {
  name = name.substr(0, std::min(name.find('\0'), entry_name_size));

  auto node = std::make_unique<entry_node>();
  std::copy(name.begin(), name.end(), node->name_bytes.begin());
  node->offset = offset;
  node->size = size;

  entry_node* const added = node.get();
  if (header_->head == nullptr) {
    header_->head = std::move(node);
  } else {
    header_->tail->next = std::move(node);
  }
  header_->tail = added;
  ++header_->count;
}

const entry_node* entry_list::at(std::int32_t index) {
  list_header& h = *header_;
  if (h.head == nullptr && index < 0) return nullptr;
  if (index >= h.count) {
    diagnostics_ << "index out of bound" << std::endl;
    return nullptr;
  }
  if (index == -1) return h.tail;

  // Walk forward from the head, or from where the previous lookup stopped when that lies at or
  // before the wanted position.
  entry_node* node = h.head.get();
  std::int32_t i = 0;
  if (h.cursor != nullptr && index >= h.cursor_index) {
    node = h.cursor;
    i = h.cursor_index;
  }
  while (i < index && node->next != nullptr) {
    node = node->next.get();
    ++i;
  }
  if (i != index) {
    diagnostics_ << "search failed " << index << " " << i << std::endl;
    return nullptr;
  }
  h.cursor = node;
  h.cursor_index = i;
  return node;
}

void entry_list::clear() {
  list_header& h = *header_;
  while (h.head != nullptr) {
    // Detach the successor first so destroying the old head never recurses down the chain.
    std::unique_ptr<entry_node> rest = std::move(h.head->next);
    h.head = std::move(rest);
  }
  h.count = 0;
  h.tail = nullptr;
  h.cursor = nullptr;
  h.cursor_index = 0;
}
