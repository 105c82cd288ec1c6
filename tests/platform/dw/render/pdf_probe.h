#pragma once
// Readers of rendered PDF for tests: the page count from the document's own
// structure, and text (with positions) through poppler's pdftotext when it is
// installed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace kq::dw::testing {

// Page objects in the document ("/Type /Page", not "/Pages").
inline int pdf_page_objects(const std::string& pdf) {
  std::regex re("/Type\\s*/Page(?![A-Za-z])");
  return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), re), std::sregex_iterator()));
}

inline bool have_pdftotext() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

// pdftotext's output for `pdf` (with `flags`, e.g. "-bbox"), nullopt when it fails.
inline std::optional<std::string> pdftotext(const std::string& pdf, const std::string& flags = "") {
  static int counter = 0;
  const std::string base = "/tmp/kq_render_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
  {
    std::ofstream out(base + ".pdf", std::ios::binary);
    out << pdf;
  }
  const std::string cmd = "pdftotext -enc UTF-8 " + flags + " " + base + ".pdf " + base + ".txt 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  std::ifstream in(base + ".txt", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::remove((base + ".pdf").c_str());
  std::remove((base + ".txt").c_str());
  if (rc != 0) return std::nullopt;
  return ss.str();
}

// The text of each page (pdftotext ends every page with a form feed).
inline std::vector<std::string> pages_of(const std::string& text) {
  std::vector<std::string> pages;
  std::string page;
  for (char c : text) {
    if (c == '\f') {
      pages.push_back(page);
      page.clear();
    } else {
      page += c;
    }
  }
  if (!page.empty()) pages.push_back(page);
  return pages;
}

// A word of pdftotext -bbox output, in points from the page's top left.
struct PdfWord {
  double x_min, y_min, x_max, y_max;
  std::string text;
};

inline std::vector<PdfWord> words_of(const std::string& bbox_html) {
  std::vector<PdfWord> words;
  std::regex re("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
  for (std::sregex_iterator it(bbox_html.begin(), bbox_html.end(), re), end; it != end; ++it) {
    words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]), (*it)[5]});
  }
  return words;
}

inline std::optional<PdfWord> find_word(const std::vector<PdfWord>& words, const std::string& text) {
  for (const PdfWord& w : words) {
    if (w.text == text) return w;
  }
  return std::nullopt;
}

}  // namespace kq::dw::testing
