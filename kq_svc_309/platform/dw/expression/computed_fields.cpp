#include "platform/dw/expression/computed_fields.h"

#include <algorithm>

namespace kq::dw::expr {
namespace {

enum class Mark { Unvisited, InProgress, Done };

// Depth-first search; on a cycle fills `path` with its fields.
bool find_cycle(std::size_t j, std::span<const std::vector<std::size_t>> reads, std::vector<Mark>& marks,
                std::vector<std::size_t>& stack, std::vector<std::size_t>& path) {
  marks[j] = Mark::InProgress;
  stack.push_back(j);
  for (std::size_t k : reads[j]) {
    if (k >= reads.size()) continue;
    if (marks[k] == Mark::InProgress) {
      auto from = std::find(stack.begin(), stack.end(), k);
      path.assign(from, stack.end());
      path.push_back(k);
      return true;
    }
    if (marks[k] == Mark::Unvisited && find_cycle(k, reads, marks, stack, path)) return true;
  }
  stack.pop_back();
  marks[j] = Mark::Done;
  return false;
}

}  // namespace

Result<void> check_computed_cycles(std::span<const std::vector<std::size_t>> reads,
                                   std::span<const std::string> names) {
  std::vector<Mark> marks(reads.size(), Mark::Unvisited);
  std::vector<std::size_t> stack, path;
  for (std::size_t j = 0; j < reads.size(); ++j) {
    if (marks[j] != Mark::Unvisited || !find_cycle(j, reads, marks, stack, path)) continue;
    std::string text;
    for (std::size_t k : path) {
      if (!text.empty()) text += " -> ";
      if (k < names.size()) {
        text += names[k];
      } else {
        text += '#';
        text += std::to_string(k);
      }
    }
    return make_error("computed fields depend on themselves: " + text);
  }
  return {};
}

Result<std::vector<Expression>> compile_computed_fields(std::span<const ComputedFieldText> fields,
                                                        const Resolver& resolver) {
  std::vector<Expression> out;
  std::vector<std::vector<std::size_t>> reads;
  std::vector<std::string> names;
  out.reserve(fields.size());
  for (const auto& f : fields) {
    auto e = compile(f.expression, resolver);
    if (!e) return make_error(f.name + ": " + e.error());
    reads.push_back(e->computed_fields());
    names.push_back(f.name);
    out.push_back(std::move(*e));
  }
  if (auto r = check_computed_cycles(reads, names); !r) return Error{r.error()};
  return out;
}

}  // namespace kq::dw::expr
