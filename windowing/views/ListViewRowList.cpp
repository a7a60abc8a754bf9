#include "windowing/views/ListViewRowList.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "base/Log.h"

using Row = SwellListRows::Row;

namespace {

// The growth step of every arena, as the layer's other row and column lists have.
constexpr int kGranularity = 4096;
// Waste below this is never worth a copy of the live texts.
constexpr std::size_t kCompactFloor = 16 * 1024;
// Offsets and counts are 32-bit; the arenas never pass WDL_HeapBuf's limit, which is lower.
static_assert(WDL_HeapBuf::kMaxSize <= std::numeric_limits<std::uint32_t>::max());

// Resizes a buffer to `count` more items than it holds; the new items' storage, or null with
// the buffer as it was.
template <class T>
T* growBy(WDL_TypedBuf<T>& buffer, std::size_t count) {
  const std::size_t old = static_cast<std::size_t>(buffer.GetSize());
  T* items = buffer.Resize(old + count, false);
  if (!items || static_cast<std::size_t>(buffer.GetSize()) != old + count) return nullptr;
  return items + old;
}

void noMemory(const char* what) {
  base::warn("swell-cocoa", "list view: no memory to %s", what);
}

}  // namespace

SwellListRows::SwellListRows()
    : m_rows(kGranularity), m_slots(kGranularity), m_texts(kGranularity) {}

SwellListRows::SwellListRows(SwellListRows&& other) noexcept
    : m_rows(std::move(other.m_rows)),
      m_slots(std::move(other.m_slots)),
      m_texts(std::move(other.m_texts)),
      m_textWaste(std::exchange(other.m_textWaste, 0)),
      m_slotWaste(std::exchange(other.m_slotWaste, 0)) {}

SwellListRows& SwellListRows::operator=(SwellListRows&& other) noexcept {
  if (this != &other) {
    m_rows = std::move(other.m_rows);
    m_slots = std::move(other.m_slots);
    m_texts = std::move(other.m_texts);
    m_textWaste = std::exchange(other.m_textWaste, 0);
    m_slotWaste = std::exchange(other.m_slotWaste, 0);
  }
  return *this;
}

Row* SwellListRows::at(int index) {
  if (index < 0 || index >= size()) return nullptr;
  return m_rows.Get() + index;
}

const Row* SwellListRows::at(int index) const {
  if (index < 0 || index >= size()) return nullptr;
  return m_rows.Get() + index;
}

std::string_view SwellListRows::text(const Row& row, int column) const {
  if (column < 0 || static_cast<std::uint32_t>(column) >= row.textCount) return {"", 0};
  const TextSlot& slot = slotsOf(row)[column];
  if (slot.length == 0) return {"", 0};
  return {static_cast<const char*>(m_texts.Get()) + slot.offset, slot.length};
}

int SwellListRows::insert(int index, std::string_view first, LPARAM param, int image, int columns) {
  if (holdsText(first)) return insert(index, std::string(first), param, image, columns);
  const int count = size();
  index = std::clamp(index, 0, count);
  const auto room = static_cast<std::uint32_t>(std::max(columns, 1));
  // Each arena grows first; one that cannot takes the others back to their sizes.
  const int slotsBefore = m_slots.GetSize();
  const int textsBefore = m_texts.GetSize();
  std::uint32_t offset = 0;
  if (!growBy(m_rows, 1)) {
    noMemory("add a row");
    return -1;
  }
  TextSlot* slots = growBy(m_slots, room);
  if (!slots || (!first.empty() && !appendText(first, &offset))) {
    m_rows.Resize(count, false);
    m_slots.Resize(slotsBefore, false);
    m_texts.Resize(textsBefore, false);
    noMemory("add a row");
    return -1;
  }
  std::fill(slots, slots + room, TextSlot{});
  slots[0] = {offset, static_cast<std::uint32_t>(first.size())};
  Row* rows = m_rows.Get();
  std::memmove(rows + index + 1, rows + index,
               static_cast<std::size_t>(count - index) * sizeof(Row));
  Row& row = rows[index];
  row = Row{};
  row.param = param;
  row.image = image;
  row.firstSlot = static_cast<std::uint32_t>(slotsBefore);
  row.textCount = 1;
  row.slotRoom = room;
  return index;
}

bool SwellListRows::erase(int index) {
  const Row* row = at(index);
  if (!row) return false;
  const int count = size();
  if (count == 1) {
    clear();
    return true;
  }
  const TextSlot* slots = slotsOf(*row);
  for (std::uint32_t c = 0; c < row->textCount; ++c)
    retire(slots[c]);
  m_slotWaste += row->slotRoom;
  Row* rows = m_rows.Get();
  std::memmove(rows + index, rows + index + 1,
               static_cast<std::size_t>(count - index - 1) * sizeof(Row));
  m_rows.Resize(count - 1);
  compactIfWasteful();
  return true;
}

void SwellListRows::clear() {
  m_rows.Resize(0);
  m_slots.Resize(0);
  m_texts.Free();
  m_textWaste = 0;
  m_slotWaste = 0;
}

bool SwellListRows::setText(int index, int column, std::string_view text) {
  if (holdsText(text)) return setText(index, column, std::string(text));
  Row* row = at(index);
  if (!row || column < 0) return false;
  const auto c = static_cast<std::uint32_t>(column);
  const std::size_t wasteBefore = wasteBytes();
  std::uint32_t offset = 0;
  if ((c >= row->slotRoom && !growRoom(*row, c + 1)) ||
      (!text.empty() && !appendText(text, &offset))) {
    noMemory("set a text");
    return false;
  }
  TextSlot* slots = slotsOf(*row);
  // The columns before it that had no text get empty ones.
  for (std::uint32_t pad = row->textCount; pad < c; ++pad)
    slots[pad] = {};
  if (c < row->textCount) retire(slots[c]);
  slots[c] = {offset, static_cast<std::uint32_t>(text.size())};
  row->textCount = std::max(row->textCount, c + 1);
  if (wasteBytes() != wasteBefore) compactIfWasteful();
  return true;
}

bool SwellListRows::insertColumn(int column) {
  if (column < 0) return false;
  const auto c = static_cast<std::uint32_t>(column);
  // Rows whose run is full move to a longer one; the slot arena grows once for them all,
  // so a failure leaves every row as it was.
  std::size_t moved = 0;
  for (int i = 0; i < size(); ++i) {
    const Row& row = m_rows.Get()[i];
    if (row.textCount > c && row.textCount == row.slotRoom) moved += row.textCount + 1;
  }
  std::uint32_t next = static_cast<std::uint32_t>(m_slots.GetSize());
  if (moved && !growBy(m_slots, moved)) {
    noMemory("insert a column");
    return false;
  }
  for (int i = 0; i < size(); ++i) {
    Row& row = m_rows.Get()[i];
    if (row.textCount <= c) continue;
    if (row.textCount == row.slotRoom) {
      std::copy_n(slotsOf(row), row.textCount, m_slots.Get() + next);
      m_slotWaste += row.slotRoom;
      row.firstSlot = next;
      row.slotRoom = row.textCount + 1;
      next += row.slotRoom;
    }
    TextSlot* slots = slotsOf(row);
    std::copy_backward(slots + c, slots + row.textCount, slots + row.textCount + 1);
    slots[c] = {};
    ++row.textCount;
  }
  compactIfWasteful();
  return true;
}

void SwellListRows::eraseColumn(int column) {
  if (column < 0) return;
  const auto c = static_cast<std::uint32_t>(column);
  for (int i = 0; i < size(); ++i) {
    Row& row = m_rows.Get()[i];
    if (row.textCount <= c) continue;
    TextSlot* slots = slotsOf(row);
    retire(slots[c]);
    std::copy(slots + c + 1, slots + row.textCount, slots + c);
    --row.textCount;
  }
  compactIfWasteful();
}

namespace {

// One level of the merge sort: `other` holds the same rows as `rows` on entry; the halves
// are sorted into it and merged back into `rows`, so no level copies its result back. Any
// answer of the comparison is safe; none reads outside.
void mergeSort(Row* rows, Row* other, std::size_t first, std::size_t end, PFNLVCOMPARE compare,
               LPARAM parameter) {
  if (end - first < 2) return;
  const std::size_t middle = first + (end - first) / 2;
  mergeSort(other, rows, first, middle, compare, parameter);
  mergeSort(other, rows, middle, end, compare, parameter);
  std::size_t left = first, right = middle, out = first;
  while (left < middle && right < end) {
    if (compare(other[left].param, other[right].param, parameter) <= 0)
      rows[out++] = other[left++];
    else
      rows[out++] = other[right++];
  }
  while (left < middle)
    rows[out++] = other[left++];
  while (right < end)
    rows[out++] = other[right++];
}

}  // namespace

bool SwellListRows::sort(PFNLVCOMPARE compare, LPARAM parameter,
                         std::vector<std::size_t>& selected) {
  const auto count = static_cast<std::size_t>(size());
  if (count < 2) return true;
  WDL_TypedBuf<Row> scratch(kGranularity);
  Row* other = growBy(scratch, count);
  if (!other) {
    noMemory("sort the rows");
    return false;
  }
  // Each row carries its selection through the sort.
  Row* rows = m_rows.Get();
  for (std::size_t index : selected)
    if (index < count) rows[index].selected = 1;
  std::copy_n(rows, count, other);
  mergeSort(rows, other, 0, count, compare, parameter);
  selected.clear();
  for (std::size_t i = 0; i < count; ++i) {
    if (!rows[i].selected) continue;
    selected.push_back(i);
    rows[i].selected = 0;
  }
  return true;
}

bool SwellListRows::appendCopies(const SwellListRows& other) {
  for (int i = 0; i < other.size(); ++i) {
    const Row& source = other.m_rows.Get()[i];
    const int index = insert(size(), other.text(source, 0), source.param, source.image,
                             static_cast<int>(source.slotRoom));
    if (index < 0) return false;
    for (int c = 1; c < other.textCount(source); ++c)
      if (!setText(index, c, other.text(source, c))) return false;
  }
  return true;
}

std::size_t SwellListRows::storedBytes() const {
  return static_cast<std::size_t>(m_texts.GetSize()) +
         static_cast<std::size_t>(m_slots.GetSizeBytes());
}

bool SwellListRows::growRoom(Row& row, std::uint32_t room) {
  TextSlot* run = growBy(m_slots, room);
  if (!run) return false;
  std::copy_n(slotsOf(row), row.textCount, run);
  m_slotWaste += row.slotRoom;
  row.firstSlot = static_cast<std::uint32_t>(run - m_slots.Get());
  row.slotRoom = room;
  return true;
}

bool SwellListRows::appendText(std::string_view text, std::uint32_t* offset) {
  const std::size_t old = static_cast<std::size_t>(m_texts.GetSize());
  if (text.size() >= WDL_HeapBuf::kMaxSize - old) return false;
  const std::size_t want = old + text.size() + 1;
  auto* bytes = static_cast<char*>(m_texts.Resize(want, false));
  if (!bytes || static_cast<std::size_t>(m_texts.GetSize()) != want) return false;
  std::memcpy(bytes + old, text.data(), text.size());
  bytes[old + text.size()] = 0;
  *offset = static_cast<std::uint32_t>(old);
  return true;
}

void SwellListRows::retire(const TextSlot& slot) {
  if (slot.length) m_textWaste += slot.length + 1;
}

bool SwellListRows::holdsText(std::string_view text) const {
  const auto* begin = static_cast<const char*>(m_texts.Get());
  const auto* data = text.data();
  return begin && !text.empty() && std::less_equal<const char*>()(begin, data) &&
         std::less<const char*>()(data, begin + m_texts.GetSize());
}

void SwellListRows::compactIfWasteful() {
  const std::size_t waste = wasteBytes();
  if (waste > kCompactFloor && waste > storedBytes() / 2) compact();
}

bool SwellListRows::compact() {
  std::size_t slotCount = 0, textBytes = 0;
  for (int i = 0; i < size(); ++i) {
    const Row& row = m_rows.Get()[i];
    slotCount += row.slotRoom;
    const TextSlot* slots = slotsOf(row);
    for (std::uint32_t c = 0; c < row.textCount; ++c)
      if (slots[c].length) textBytes += slots[c].length + 1;
  }
  WDL_TypedBuf<TextSlot> slots(kGranularity);
  WDL_HeapBuf texts(kGranularity);
  // Without memory for fresh arenas the waste stays, and nothing is lost.
  if ((slotCount && !growBy(slots, slotCount)) ||
      (textBytes &&
       (!texts.Resize(textBytes, false) || static_cast<std::size_t>(texts.GetSize()) != textBytes)))
    return false;
  std::uint32_t nextSlot = 0, nextByte = 0;
  auto* bytes = static_cast<char*>(texts.Get());
  const auto* oldBytes = static_cast<const char*>(m_texts.Get());
  for (int i = 0; i < size(); ++i) {
    Row& row = m_rows.Get()[i];
    const TextSlot* from = slotsOf(row);
    TextSlot* to = slots.Get() + nextSlot;
    std::fill(to, to + row.slotRoom, TextSlot{});
    for (std::uint32_t c = 0; c < row.textCount; ++c) {
      to[c] = {nextByte, from[c].length};
      if (!from[c].length) continue;
      std::memcpy(bytes + nextByte, oldBytes + from[c].offset, from[c].length + 1);
      nextByte += from[c].length + 1;
    }
    row.firstSlot = nextSlot;
    nextSlot += row.slotRoom;
  }
  m_slots = std::move(slots);
  m_texts = std::move(texts);
  m_textWaste = 0;
  m_slotWaste = 0;
  return true;
}
