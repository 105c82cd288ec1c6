#include "platform/dw/definition/definition_set.h"

#include "platform/embedded.h"
#include "platform/value/text.h"

namespace kq::dw {

void DefinitionSet::add(std::string file, std::string text) {
  std::lock_guard lock(mutex_);
  std::string name = text::lower(definition_name_of(file));
  entries_[name] = Entry{std::move(file), std::move(text), nullptr};
}

Result<DefinitionPtr> DefinitionSet::get(std::string_view name0) const {
  std::string name = text::lower(text::trim(name0));
  std::unique_lock lock(mutex_);
  auto it = entries_.find(name);
  if (it == entries_.end()) {
    lock.unlock();
    if (fallback_) return fallback_->get(name);
    return make_error("dataobject '" + name + "' not found");
  }
  if (it->second.loaded) return it->second.loaded;
  if (loading_.count(name)) return make_error("nested reports lead back to '" + name + "'");
  const std::string file = it->second.file, text = it->second.text;
  loading_.insert(name);
  LoadOptions options;
  options.functions = functions_;
  options.nested = lookup();
  auto r = load_definition(text, file, options);
  loading_.erase(name);
  if (!r) return r;
  auto again = entries_.find(name);
  if (again != entries_.end() && again->second.text == text) again->second.loaded = *r;
  return r;
}

std::vector<std::string> DefinitionSet::names() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [name, e] : entries_) out.push_back(name);
  return out;
}

const DefinitionSet& embedded_definitions() {
  static const DefinitionSet* set = [] {
    auto* s = new DefinitionSet();
    for (const auto& [path, content] : embedded::all()) {
      std::string_view p = path;
      if (p.substr(0, 5) != "data/" || p.find('/', 5) != std::string_view::npos) continue;
      if (p.size() < 10 || p.substr(p.size() - 5) != ".yaml") continue;
      s->add(std::string(p), std::string(content));
    }
    return s;
  }();
  return *set;
}

Result<DefinitionPtr> definition(std::string_view name) { return embedded_definitions().get(name); }

std::vector<std::string> definition_names() { return embedded_definitions().names(); }

}  // namespace kq::dw
