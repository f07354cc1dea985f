#include "core/dxf/DxfPass.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kw {

PassLines::Span PassLines::place(std::string_view text) {
  if (text.empty()) return {0, 0, 0, 0};
  if (!blocks_) blocks_ = std::make_shared<std::vector<Block>>();
  std::vector<Block>& blocks = *blocks_;
  const bool longText = text.size() >= kLong;
  if (longText || blocks.empty() || blocks.back().capacity - blocks.back().size < text.size()) {
    if (blocks.size() >= kMaxBlocks) throw std::length_error("more lines than a pass can hold");
    Block block;
    block.capacity = longText ? text.size() : kBlockSize;
    block.text = std::make_unique_for_overwrite<char[]>(block.capacity);
    blocks.push_back(std::move(block));
  }
  Block& block = blocks.back();
  const Span span{blocks.size() - 1, block.size, longText ? kLong : text.size(), 0};
  std::memcpy(block.text.get() + block.size, text.data(), text.size());
  block.size += text.size();
  bytes_ += text.size();
  return span;
}

std::size_t PassLines::moveBlocksOf(PassLines& other) {
  if (!other.blocks_ || other.blocks_.use_count() != 1 || other.blocks_ == blocks_) return kNotMoved;
  if (!blocks_) blocks_ = std::make_shared<std::vector<Block>>();
  std::vector<Block>& blocks = *blocks_;
  const std::size_t shift = blocks.size();
  if (shift + other.blocks_->size() > kMaxBlocks) return kNotMoved;
  for (Block& block : *other.blocks_) blocks.push_back(std::move(block));
  other.blocks_ = blocks_;
  bytes_ += other.bytes_;
  other.bytes_ = 0;
  return shift;
}

void PassLines::takeTextsOf(PassLines& other) {
  const std::size_t shift = moveBlocksOf(other);
  if (shift == kNotMoved) return;  // they stay apart, and are copied
  for (Span& span : other.spans_)
    if (span.length != 0) span.block += shift;
}

void PassLines::takeTextsOf(PassLines& other, const std::vector<LineRange>& copied) {
  if (!other.blocks_ || other.blocks_ == blocks_) {  // no texts, or these lines' own
    other.clear();
    return;
  }
  const std::size_t shift = moveBlocksOf(other);
  for (const LineRange& range : copied) {
    for (std::size_t line = range.from; line < range.to; ++line) {
      Span& span = spans_[line];
      if (shift != kNotMoved) {
        if (span.length != 0) span.block += shift;
      } else {  // the texts stay with `other`: copied
        const Span was = span;
        span = place(other.textOf(was));
        span.plainMove = was.plainMove;
      }
    }
  }
  other.clear();
}

void PassLines::append(PassLines other) {
  takeTextsOf(other);
  reserve(size() + other.size());
  for (std::size_t line = 0; line < other.size(); ++line) share(other, line);
}

PassLines PassLines::sharingTexts() const {
  PassLines lines;
  lines.blocks_ = blocks_ ? blocks_ : std::make_shared<std::vector<Block>>();
  return lines;
}

std::vector<std::uint32_t> PassLines::usesOfBlocks() {
  std::vector<std::uint32_t> uses;
  if (!blocks_ || blocks_.use_count() != 1) return uses;
  uses.assign(blocks_->size(), 0);
  for (const Span& span : spans_)
    if (span.length != 0) ++uses[span.block];
  for (std::size_t block = 0; block < uses.size(); ++block)
    if (uses[block] == 0) (*blocks_)[block].text.reset();
  return uses;
}

std::vector<std::string> PassLines::strings() const {
  std::vector<std::string> lines;
  lines.reserve(size());
  for (std::string_view line : *this) lines.emplace_back(line);
  return lines;
}

bool PassLines::operator==(const PassLines& other) const { return std::equal(begin(), end(), other.begin(), other.end()); }

}  // namespace kw
