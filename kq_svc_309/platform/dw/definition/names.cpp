#include "platform/dw/definition/names.h"

#include <algorithm>

#include "platform/dw/expression/builtins.h"
#include "platform/dw/expression/parser.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

bool is_row_or_control_function(std::string_view name) {
  for (const char* n : {"if", "currentrow", "rowcount", "getrow"})
    if (text::iequals(name, n)) return true;
  return false;
}

void walk(const expr::SyntaxNode& n, std::vector<GlobalCall>& into) {
  using expr::SyntaxKind;
  if (n.kind == SyntaxKind::Call && !is_row_or_control_function(n.name) && !expr::find_builtin(n.name)) {
    std::string name = text::lower(n.name);
    auto it = std::find_if(into.begin(), into.end(), [&](const GlobalCall& c) { return c.name == name; });
    if (it == into.end()) {
      into.push_back(GlobalCall{name, n.children.size(), n.children.size()});
    } else {
      it->min_args = std::min(it->min_args, n.children.size());
      it->max_args = std::max(it->max_args, n.children.size());
    }
  }
  for (const auto& c : n.children)
    if (c) walk(*c, into);
  for (const auto& arm : n.arms) {
    for (const auto& v : arm.values)
      if (v) walk(*v, into);
    if (arm.result) walk(*arm.result, into);
  }
  if (n.otherwise) walk(*n.otherwise, into);
}

}  // namespace

expr::NameTable expression_names(const Definition& def, const expr::FunctionRegistry* functions) {
  expr::NameTable names(functions);
  for (const ColumnDef& c : def.columns) names.add_column(c.name, c.type);
  for (const ObjectDef* o : def.computes()) names.add_computed(o->name);
  for (const ArgumentDef& a : def.arguments) names.add_argument(a.name, a.type);
  return names;
}

void collect_global_calls(std::string_view expression, std::vector<GlobalCall>& into) {
  auto tree = expr::parse(expression);
  if (tree) walk(**tree, into);
}

std::vector<std::string> expression_texts(const Definition& def) {
  std::vector<std::string> out;
  for (const ObjectDef* o : def.objects()) {
    if (!o->expression.empty()) out.push_back(o->expression);
    if (!o->visible.empty()) out.push_back(o->visible);
    if (!o->protect_expression.empty()) out.push_back(o->protect_expression);
    for (const std::string& a : o->arguments) out.push_back(a);
  }
  return out;
}

}  // namespace kq::dw
