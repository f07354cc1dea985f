#include "core/app/TextPrint.h"

#include <algorithm>

namespace kw {

std::vector<std::string> textPrintHeader(size_t firstLine, std::string_view date, std::string_view time,
                                         std::string_view fileName) {
  std::string page = "           Page : " + std::to_string(firstLine / kTextPrintLinesPerNumber + 1);
  std::string stamp = "           Date : ";
  stamp.append(date);
  stamp.append("    Time : ");
  stamp.append(time);
  stamp.append("    File : ");
  stamp.append(fileName);
  return {" ", std::move(page), " ", std::move(stamp), " "};
}

std::vector<std::vector<std::string>> layoutTextPages(const std::vector<std::string>& lines, int linesPerPage,
                                                      std::string_view fileName, std::string_view date,
                                                      std::string_view time) {
  const size_t perPage = static_cast<size_t>(std::max(linesPerPage - kTextPrintHeaderLines, 1));
  std::vector<std::vector<std::string>> pages;
  pages.reserve((lines.size() + perPage - 1) / perPage);
  for (size_t first = 0; first < lines.size(); first += perPage) {
    std::vector<std::string> page = textPrintHeader(first, date, time, fileName);
    const size_t last = std::min(lines.size(), first + perPage);
    page.reserve(page.size() + (last - first));
    for (size_t i = first; i < last; ++i) page.push_back(kTextPrintIndent + lines[i]);
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace kw
