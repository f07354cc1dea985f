#pragma once
// What every pass of a DXF conversion is given: the machine profile in use (read at the moment
// of use), the user port for captions, progress and messages, and the program folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/MachineProfile.h"
#include "core/text/RawVector.h"
#include "core/ui/UiPort.h"

namespace kw {

struct DxfPassContext {
  MachineProfile& profile;
  UiPort& ui;
  std::string programFolder;
};

// The lines of one temporary file of the conversion, held in memory: their texts one after
// another in blocks of a megabyte, and where each line stands in them. A drawing makes millions of
// short lines; held so, a line costs its text and eight bytes, not a string and a block of its
// own, and the lines grow without ever being copied. A line that repeats the line before it (an
// element that starts where the one before it ended) shares that line's text, and a pass that
// passes a line on unchanged shares it with the lines it was given (`sharingTexts`, `share`). A
// line read from here is a view that stays valid as long as the lines, or any lines sharing
// their texts, are kept, whatever is added to them. A line may be marked as a plain move (see
// PlainMoveForm): the mark goes wherever its text goes unchanged, and a line given a text anew is
// unmarked.
class PassLines {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const PassLines* lines, std::size_t at) : lines_(lines), at_(at) {}
    std::string_view operator*() const { return (*lines_)[at_]; }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return {lines_, at_++}; }
    bool operator==(const const_iterator& o) const { return at_ == o.at_; }

   private:
    const PassLines* lines_ = nullptr;
    std::size_t at_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;

  PassLines() = default;
  PassLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) push_back(line);
  }
  PassLines(const std::vector<std::string>& lines) {  // NOLINT(google-explicit-constructor): lines as read
    for (const std::string& line : lines) push_back(line);
  }
  PassLines(const PassLines& other) {
    reserve(other.size());
    for (std::string_view line : other) push_back(line);
  }
  PassLines& operator=(const PassLines& other) {
    if (this != &other) *this = PassLines(other);
    return *this;
  }
  PassLines(PassLines&&) noexcept = default;
  PassLines& operator=(PassLines&&) noexcept = default;
  ~PassLines() = default;

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t line) const { return textOf(spans_[line]); }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  // Adds a line, marked as a plain move when `plainMove` says it is one.
  void push_back(std::string_view line, bool plainMove = false) {
    if (spans_.size() > roomEnd_ && line == back())
      spans_.push_back(spans_.back());
    else
      spans_.push_back(place(line));
    if (plainMove) spans_.back().plainMove = 1;
  }
  // The same without looking whether the line repeats the last one: a text of its own.
  void pushNew(std::string_view line, bool plainMove = false) {
    spans_.push_back(place(line));
    spans_.back().plainMove = plainMove ? 1 : 0;
  }
  // Whether the line is marked as a plain move.
  bool plainMove(std::size_t line) const { return spans_[line].plainMove != 0; }
  void emplace_back() { spans_.push_back({0, 0, 0, 0}); }
  // The last line once more, sharing its text.
  void repeatLast() { spans_.push_back(spans_.back()); }
  // The last line goes; its text stays (another line may share it).
  void pop_back() { spans_.pop_back(); }
  // No lines, writing their texts where these lines keep theirs: a line of these added with
  // `share` costs no text.
  PassLines sharingTexts() const;
  // Adds line `line` of `other`: sharing its text when `other` writes its texts where these
  // lines do, else as a copy.
  void share(const PassLines& other, std::size_t line) {
    if (other.blocks_ == blocks_ && blocks_)
      spans_.push_back(other.spans_[line]);
    else
      push_back(other[line], other.plainMove(line));
  }
  // Line `line` becomes line `otherLine` of `other`, as `share` adds it.
  void setShared(std::size_t line, const PassLines& other, std::size_t otherLine) {
    if (other.blocks_ == blocks_ && blocks_)
      spans_[line] = other.spans_[otherLine];
    else
      set(line, other[otherLine]);
  }
  // Line `line` becomes `text`, written after the others (its old text may be shared).
  void set(std::size_t line, std::string_view text) { spans_[line] = place(text); }
  // Adds the lines of `other` after these. Their texts are taken over where `other` holds them
  // alone, else copied.
  void append(PassLines other);
  // Moves the texts of `other` among these lines' texts, when `other` holds them alone: `other`
  // then shares them, and its lines are added here with `share` at no cost. Their bytes count
  // as these lines' own.
  void takeTextsOf(PassLines& other);
  // Room for `lines` lines after these, each to be written with `copy` before it is read. Another
  // thread may fill the room while lines are added after it, as long as the lines stay within
  // their capacity; a line added after the room never shares the text of one in it.
  void leaveRoom(std::size_t lines) {
    spans_.resize(spans_.size() + lines);
    roomEnd_ = spans_.size();
  }
  // Lines [from, to) of each range here were copied from lines of `other` with `copy` while
  // `other` kept their texts: the texts come here (moved where `other` holds them alone, else
  // copied), and `other` keeps no lines.
  struct LineRange {
    std::size_t from, to;
  };
  void takeTextsOf(PassLines& other, const std::vector<LineRange>& copied);
  // No lines, the texts and the room for lines kept for the lines to come.
  void forgetLines() { spans_.clear(); }
  // Room for the places of `lines` lines.
  void reserve(std::size_t lines) { spans_.reserve(lines); }
  std::size_t capacity() const { return spans_.capacity(); }
  // `lines` lines in all, any new one empty.
  void resize(std::size_t lines) {
    spans_.resize(lines, Span{0, 0, 0, 0});
    roomEnd_ = std::min(roomEnd_, lines);
  }
  // `lines` lines in all, each new one to be written with `copy`, `setShared` or `set` before it
  // is read: the room is not cleared first.
  void growForOverwrite(std::size_t lines) { spans_.resize(lines); }
  // Lines [from, to) moved to start at line `at`; the two places may overlap.
  void move(std::size_t from, std::size_t to, std::size_t at) {
    std::memmove(spans_.data() + at, spans_.data() + from, (to - from) * sizeof(Span));
  }
  // Lines [from, to) of `other` over these from `at` on: lines whose texts these can read when
  // `other` shares them with these, or once they are taken over (see takeTextsOf).
  void copy(const PassLines& other, std::size_t from, std::size_t to, std::size_t at) {
    std::copy(other.spans_.begin() + static_cast<std::ptrdiff_t>(from),
              other.spans_.begin() + static_cast<std::ptrdiff_t>(to), spans_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  void clear() {
    spans_.clear();
    blocks_.reset();
    bytes_ = 0;
    roomEnd_ = 0;
  }
  // Lets go of the lines, keeping their texts for the lines that share them.
  void releaseLines() { RawVector<Span>().swap(spans_); }
  // Hands every line in turn to `take(line, index)` and lets go of each block of texts that no
  // later line uses, so that the lines can be turned into others without both being held at
  // once. A line's view stays valid until the next line has been taken. The lines are gone
  // afterwards; texts shared with other lines are kept for those.
  template <typename Take>
  void consume(Take&& take);
  // The bytes of the texts these lines wrote (a replaced line leaves its old text).
  std::size_t bytes() const { return bytes_; }
  std::vector<std::string> strings() const;

  bool operator==(const PassLines& other) const;

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
  struct Block {
    std::unique_ptr<char[]> text;
    std::size_t size = 0, capacity = 0;
  };
  // Eight bytes a line: its block, its place and length there, and its mark. A text too long for
  // the length has a block of its own and kLong for a length.
  struct Span {
    std::uint64_t block : 23, offset : 20, length : 20, plainMove : 1;
  };
  static constexpr std::size_t kMaxBlocks = std::size_t{1} << 23;
  static constexpr std::uint64_t kLong = (std::uint64_t{1} << 20) - 1;
  std::shared_ptr<std::vector<Block>> blocks_;  // the texts, maybe shared with other lines
  RawVector<Span> spans_;
  std::size_t bytes_ = 0;
  std::size_t roomEnd_ = 0;  // the end of the last room left (see leaveRoom)

  std::string_view textOf(const Span& span) const {
    if (span.length == 0) return {};
    const Block& block = (*blocks_)[span.block];
    return {block.text.get() + span.offset, span.length == kLong ? block.size : span.length};
  }

  // Copies `text` after the texts so far: into the last block if it fits there, else into a new
  // one; a text of kLong bytes or more gets a block of its own size.
  Span place(std::string_view text);
  // Moves the blocks of `other`, when it holds them alone and they fit, after these lines' own:
  // `other` then shares them. Returns by how many blocks their numbers shift, or kNotMoved.
  static constexpr std::size_t kNotMoved = static_cast<std::size_t>(-1);
  std::size_t moveBlocksOf(PassLines& other);
  // How many of the lines use each block, when no other lines share the texts (else empty);
  // the blocks no line uses go at once.
  std::vector<std::uint32_t> usesOfBlocks();
};

template <typename Take>
void PassLines::consume(Take&& take) {
  std::vector<std::uint32_t> uses = usesOfBlocks();
  std::size_t spent = SIZE_MAX;  // a block the line before was the last to use, let go after this line
  for (std::size_t line = 0; line < spans_.size(); ++line) {
    take((*this)[line], line);
    if (spent != SIZE_MAX) (*blocks_)[spent].text.reset();
    spent = SIZE_MAX;
    const Span& span = spans_[line];
    if (!uses.empty() && span.length != 0 && --uses[span.block] == 0) spent = span.block;
  }
  clear();
}

}  // namespace kw
