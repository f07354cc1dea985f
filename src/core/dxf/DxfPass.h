#pragma once
// What every pass of a DXF conversion is given: the machine profile in use (read at the moment
// of use), the user port for captions, progress and messages, and the program folder.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/MachineProfile.h"
#include "core/ui/UiPort.h"

namespace kw {

struct DxfPassContext {
  MachineProfile& profile;
  UiPort& ui;
  std::string programFolder;
};

// The lines of one temporary file of the conversion, held in memory: their texts one after
// another in one buffer, and where each line stands in it. A drawing makes millions of short
// lines; held so, a line costs its text and twelve bytes, not a string and a block of its own.
// A line that repeats the line before it (an element that starts where the one before it ended)
// shares that line's text. A line read from here is a view that stays valid until the next change
// of these lines.
class PassLines {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const PassLines* lines, std::size_t at) : lines_(lines), at_(at) {}
    std::string_view operator*() const { return (*lines_)[at_]; }
    std::string_view operator[](difference_type n) const { return (*lines_)[at_ + n]; }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return {lines_, at_++}; }
    const_iterator& operator--() { return --at_, *this; }
    const_iterator operator--(int) { return {lines_, at_--}; }
    const_iterator& operator+=(difference_type n) { return at_ += n, *this; }
    const_iterator& operator-=(difference_type n) { return at_ -= n, *this; }
    const_iterator operator+(difference_type n) const { return {lines_, at_ + n}; }
    const_iterator operator-(difference_type n) const { return {lines_, at_ - n}; }
    difference_type operator-(const const_iterator& o) const { return static_cast<difference_type>(at_ - o.at_); }
    bool operator==(const const_iterator& o) const { return at_ == o.at_; }
    auto operator<=>(const const_iterator& o) const { return at_ <=> o.at_; }

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

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t line) const { return {text_.data() + spans_[line].offset, spans_[line].length}; }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void push_back(std::string_view line) {
    if (!spans_.empty() && line == back()) {
      spans_.push_back(spans_.back());
      return;
    }
    if (holds(line)) {  // a line of these very lines: copied before the buffer may move
      const std::string copy(line);
      append(copy);
    } else {
      append(line);
    }
  }
  void emplace_back() { spans_.push_back({text_.size(), 0}); }
  void pop_back() {
    const Span last = spans_.back();
    spans_.pop_back();
    const bool shared = !spans_.empty() && spans_.back().offset + spans_.back().length > last.offset;
    if (last.offset + last.length == text_.size() && !shared) text_.resize(last.offset);
  }
  // Line `line` becomes `text`, written at the end of the buffer (its old text may be shared).
  void set(std::size_t line, std::string_view text);
  // Room for `lines` lines holding `bytes` bytes in all.
  void reserve(std::size_t lines, std::size_t bytes) {
    spans_.reserve(lines);
    text_.reserve(bytes);
  }
  void clear() {
    spans_.clear();
    text_.clear();
  }
  // The bytes the lines' texts take in the buffer (a replaced line leaves its old place unused).
  std::size_t bytes() const { return text_.size(); }
  std::vector<std::string> strings() const;

  bool operator==(const PassLines& other) const;

 private:
  // Twelve bytes a line: an offset of any size, a line of up to 4 GiB.
  struct [[gnu::packed]] Span {
    std::uint64_t offset;
    std::uint32_t length;
  };
  std::string text_;
  std::vector<Span> spans_;

  bool holds(std::string_view line) const {
    return !line.empty() && line.data() >= text_.data() && line.data() < text_.data() + text_.size();
  }
  void append(std::string_view line) {
    spans_.push_back({text_.size(), lengthOf(line)});
    text_.append(line);
  }
  static std::uint32_t lengthOf(std::string_view line) {
    if (line.size() > UINT32_MAX) throw std::length_error("a line of more than 4 GiB");
    return static_cast<std::uint32_t>(line.size());
  }
};

}  // namespace kw
