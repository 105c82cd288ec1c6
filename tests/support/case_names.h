#pragma once
// Names of the cases of parameterised suites, made from what each case is (a
// statement's text, an expression): readable in a failure and the same on
// every run, so that test discovery gives stable names. gtest accepts letters,
// digits and '_' only; operators are spelled out so that "n + 1" and "n - 1"
// stay apart ("n_plus_1", "n_minus_1").
//
//   INSTANTIATE_TEST_SUITE_P(All, Suite, ::testing::ValuesIn(kCases),
//                            kq::testing::name_cases<Case>([](const Case& c) { return std::string(c.text); }));
#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

namespace kq::testing {

// `text` in letters, digits and '_', at most `limit` characters.
inline std::string case_name(std::string_view text, size_t limit = 80) {
  static constexpr std::pair<char, const char*> kWords[] = {
      {'+', "plus"}, {'-', "minus"}, {'*', "times"}, {'/', "over"}, {'=', "eq"}, {'<', "lt"}, {'>', "gt"},
      {'%', "pct"},  {'\'', "q"},    {'"', "qq"},    {'(', "of"},   {',', "and"}, {':', "var"}, {'.', "dot"},
      {'!', "not"},  {'&', "amp"},   {'|', "or"},    {'?', "arg"},  {'[', "sub"}};
  std::string out;
  auto separate = [&] {
    if (!out.empty() && out.back() != '_') out += '_';
  };
  for (unsigned char c : text) {
    if (std::isalnum(c) && c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const char* word = nullptr;
    for (const auto& [ch, w] : kWords)
      if (ch == c) word = w;
    separate();  // blanks and other characters separate words
    if (word) {
      out += word;
      separate();
    }
  }
  while (!out.empty() && out.back() == '_') out.pop_back();
  if (out.size() > limit) out.resize(limit);
  while (!out.empty() && out.back() == '_') out.pop_back();
  return out.empty() ? "empty" : out;
}

// The name generator of a suite: case_name() of what `describe` says of the
// case, with "_2", "_3" ... after a name already given in this suite. gtest
// makes a new generator for every case, so the names given are kept per
// `Describe`, the lambda of one suite (a type of its own).
template <class Param, class Describe>
class CaseNamer {
 public:
  explicit CaseNamer(Describe describe) : describe_(std::move(describe)) {}
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    static std::set<std::string> used;
    const std::string base = case_name(describe_(info.param));
    std::string name = base;
    for (int n = 2; !used.insert(name).second; ++n) name = base + "_" + std::to_string(n);
    return name;
  }

 private:
  Describe describe_;
};

template <class Param, class Describe>
CaseNamer<Param, Describe> name_cases(Describe describe) {
  return CaseNamer<Param, Describe>(std::move(describe));
}

}  // namespace kq::testing
