#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/WDLHeapBuf.h"
#include "windowing/Win32Types.h"
#include "windowing/views/ListViews.h"

// The rows of a list view and their texts. Rows are records side by side in display order;
// the texts of every row live in one byte arena of the list, and a row names a run of text
// slots (offset and length into the arena) reserved for its columns, so no row holds a heap
// block of its own: a long list is filled, sorted and cleared without an allocation per row.
//
// A text replaced, a row deleted or a row's slots moved to a longer run leave their old
// bytes behind as waste; once the waste passes half of what the arenas hold, the live texts
// are copied into fresh arenas in display order, so memory stays bounded however often texts
// are replaced.
//
// Every store grows through WDL_HeapBuf, whose failed growth leaves it as it was: a change
// that cannot have its memory fails whole (its caller reports the failure) and loses nothing.
class SwellListRows {
 public:
  // One row: its item data and image number (1-based into the image list, 0 none), and where
  // its texts are, which only the store reads. A pointer to a row lasts until rows are added
  // or removed.
  class Row {
   public:
    LPARAM param = 0;
    int image = 0;

   private:
    friend class SwellListRows;
    std::uint32_t firstSlot = 0;      // the row's run in the slot arena
    std::uint32_t textCount = 0;      // texts set, empty ones included
    std::uint32_t slotRoom : 31 = 0;  // slots reserved in the run
    std::uint32_t selected : 1 = 0;   // while sorting: the row was selected
  };

  SwellListRows();
  SwellListRows(SwellListRows&& other) noexcept;
  SwellListRows& operator=(SwellListRows&& other) noexcept;
  SwellListRows(const SwellListRows&) = delete;
  SwellListRows& operator=(const SwellListRows&) = delete;

  int size() const { return m_rows.GetSize(); }
  Row* at(int index);
  const Row* at(int index) const;

  // Whether the row has a text at the column (set, or padded empty before a later one).
  bool hasText(const Row& row, int column) const {
    return column >= 0 && static_cast<std::uint32_t>(column) < row.textCount;
  }
  // The text of a row's logical column; empty when the row has none there. Its data() is
  // always a terminated string. It lasts until the next change to the store.
  std::string_view text(const Row& row, int column) const;
  // How many texts the row has (entries up to the highest column set).
  int textCount(const Row& row) const { return static_cast<int>(row.textCount); }

  // Inserts a row at index (clamped) with its first text, reserving room for `columns`
  // texts so that setting them moves nothing. The row's index, or -1 when memory cannot be
  // had.
  int insert(int index, std::string_view first, LPARAM param, int image, int columns);
  bool erase(int index);
  // Removes every row and gives the memory back.
  void clear();
  // Sets a row's text at a column, padding the columns before it with empty texts. False
  // when the row is missing or memory cannot be had.
  bool setText(int index, int column, std::string_view text);
  // A column inserted at `column`: every row with texts at or after it gets an empty text
  // there. False, and nothing changed, when memory cannot be had.
  bool insertColumn(int column);
  // A column removed: every row loses its text there, so the later columns keep theirs.
  void eraseColumn(int column);
  // Sorts the rows by the caller's comparison of their item data, stably: a top-down merge
  // sort that takes the left row first unless the comparison answers above 0. `selected`
  // names rows by their index, in ascending order, and comes back naming the same rows by
  // their new index. False, with the rows as they were, when memory cannot be had.
  bool sort(PFNLVCOMPARE compare, LPARAM parameter, std::vector<std::size_t>& selected);
  // Appends copies of another store's rows; false when memory cannot be had for them all
  // (those that fitted stay).
  bool appendCopies(const SwellListRows& other);

  // Bytes the text and slot arenas hold, waste included.
  std::size_t storedBytes() const;

 private:
  struct TextSlot {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;  // 0: an empty text, which takes no bytes
  };

  std::size_t wasteBytes() const { return m_textWaste + m_slotWaste * sizeof(TextSlot); }

  TextSlot* slotsOf(const Row& row) const { return m_slots.Get() + row.firstSlot; }
  // Gives the row a run of at least `room` slots, moving its texts' slots there.
  bool growRoom(Row& row, std::uint32_t room);
  // Appends a text and its terminator to the arena; false when it cannot grow.
  bool appendText(std::string_view text, std::uint32_t* offset);
  void retire(const TextSlot& slot);
  // Whether a text lies in the arena, which moves when it grows: such a text is copied first.
  bool holdsText(std::string_view text) const;
  // Copies the live texts into fresh arenas once the waste passes half of what they hold.
  void compactIfWasteful();
  bool compact();

  WDL_TypedBuf<Row> m_rows;
  WDL_TypedBuf<TextSlot> m_slots;
  WDL_HeapBuf m_texts;
  std::size_t m_textWaste = 0;  // bytes no text refers to
  std::size_t m_slotWaste = 0;  // slots no row reserves
};
