#include "platform/dw/datawindow/bound_definition.h"

#include <algorithm>

#include "platform/dw/definition/names.h"
#include "platform/dw/expression/computed_fields.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

// Resolves through the definition's names and notes every column used.
class RecordingResolver final : public expr::Resolver {
 public:
  explicit RecordingResolver(const expr::NameTable& names) : names_(names) {}
  std::optional<expr::Binding> resolve(std::string_view name) const override {
    auto b = names_.resolve(name);
    if (b && b->kind == expr::Binding::Kind::Column) used_.push_back(static_cast<uint32_t>(b->index));
    return b;
  }
  const expr::FunctionRegistry* functions() const override { return names_.functions(); }
  ColumnSet take() const {
    ColumnSet s = std::move(used_);
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    return s;
  }

 private:
  const expr::NameTable& names_;
  mutable ColumnSet used_;
};

}  // namespace

BoundDefinition::BoundDefinition(DefinitionPtr def, std::shared_ptr<FunctionMemo> functions)
    : def_(std::move(def)), functions_(std::move(functions)), names_(expression_names(*def_, &functions_->registry())) {
  for (std::size_t i = 0; i < def_->columns.size(); ++i) columns_.emplace(text::lower(def_->columns[i].name), static_cast<int>(i));
}

int BoundDefinition::column(std::string_view name) const {
  auto it = columns_.find(text::lower(text::trim(name)));
  return it == columns_.end() ? -1 : it->second;
}

Result<Compiled> BoundDefinition::compile(std::string_view text) const {
  std::vector<GlobalCall> calls;
  collect_global_calls(text, calls);
  functions_->declare(calls);
  RecordingResolver resolver(names_);
  auto e = expr::compile(text, resolver);
  if (!e) return Error{e.error()};
  return Compiled{std::move(*e), resolver.take()};
}

Result<std::shared_ptr<const BoundDefinition>> BoundDefinition::bind(DefinitionPtr def,
                                                                    std::shared_ptr<FunctionMemo> functions) {
  std::vector<GlobalCall> calls;
  for (const std::string& t : expression_texts(*def)) collect_global_calls(t, calls);
  functions->declare(calls);
  std::shared_ptr<BoundDefinition> b(new BoundDefinition(std::move(def), std::move(functions)));
  const Definition& d = *b->def_;

  const auto computes = d.computes();
  std::vector<std::vector<std::size_t>> reads;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < computes.size(); ++i) {
    auto c = b->compile(computes[i]->expression);
    if (!c) return make_error(d.name + ": computed field '" + computes[i]->name + "': " + c.error());
    reads.push_back(c->expression.computed_fields());
    names.push_back(computes[i]->name);
    b->computed_.push_back(std::move(*c));
    b->objects_[computes[i]].computed = static_cast<int>(i);
  }
  if (auto r = expr::check_computed_cycles(reads, names); !r) return make_error(d.name + ": " + r.error());

  for (const ObjectDef* o : d.objects()) {
    ObjectExpressions& x = b->objects_[o];
    auto fail = [&](const std::string& what, const std::string& err) {
      return make_error(d.name + ": object '" + o->name + "' " + what + ": " + err);
    };
    if (!o->visible.empty()) {
      auto c = b->compile(o->visible);
      if (!c) return fail("visible", c.error());
      x.visible = std::move(*c);
    }
    if (!o->protect_expression.empty()) {
      auto c = b->compile(o->protect_expression);
      if (!c) return fail("protect", c.error());
      x.protect = std::move(*c);
    }
    for (const std::string& a : o->arguments) {
      auto c = b->compile(a);
      if (!c) return fail("argument", c.error());
      x.arguments.push_back(std::move(*c));
    }
  }
  return std::shared_ptr<const BoundDefinition>(std::move(b));
}

}  // namespace kq::dw
