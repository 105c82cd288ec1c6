#include "platform/dw/definition/definition_set.h"

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

DefinitionSet& application_definitions() {
  static DefinitionSet* set = new DefinitionSet();
  return *set;
}

Result<DefinitionPtr> definition(std::string_view name) { return application_definitions().get(name); }


}  // namespace kq::dw
