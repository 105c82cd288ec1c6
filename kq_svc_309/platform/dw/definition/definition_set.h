#pragma once
// A set of definition files by name, loaded on first use and kept: the
// application's definitions (definition()), which the module adds at
// start-up, or a set of texts of a test or tool that may fall
// back to another set.
// Nested reports are looked up in the same set. Thread-safe: sessions share
// the embedded set; each definition loads once.
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dw/definition/loader.h"

namespace kq::dw {

class DefinitionSet {
 public:
  // `fallback` answers names this set does not hold (may be null; it must
  // outlive the set). `functions` validates expressions (null: global_functions()).
  explicit DefinitionSet(const DefinitionSet* fallback = nullptr, const expr::FunctionRegistry* functions = nullptr)
      : fallback_(fallback), functions_(functions) {}
  DefinitionSet(const DefinitionSet&) = delete;
  DefinitionSet& operator=(const DefinitionSet&) = delete;

  // Adds (or replaces, dropping what was loaded) a file's text. `file` is its
  // path as errors name it ("data/d_x.yaml"); the definition's name is its stem.
  void add(std::string file, std::string text);

  // The loaded definition, or every problem of its file; "dataobject 'NAME'
  // not found" when neither this set nor the fallback holds it. A file that
  // failed is tried again on the next call (its functions may have been
  // registered since).
  Result<DefinitionPtr> get(std::string_view name) const;
  // Names of the definitions this set holds (not the fallback's), sorted.
  std::vector<std::string> names() const;
  // get() as a DefinitionLookup.
  DefinitionLookup lookup() const {
    return [this](std::string_view name) { return get(name); };
  }

 private:
  struct Entry {
    std::string file;
    std::string text;
    mutable DefinitionPtr loaded;
  };
  const DefinitionSet* fallback_;
  const expr::FunctionRegistry* functions_;
  mutable std::recursive_mutex mutex_;
  std::map<std::string, Entry, std::less<>> entries_;
  mutable std::set<std::string, std::less<>> loading_;  // names being loaded (nested cycles)
};

// The application's definitions: empty until the module adds its files
// (kq::module::install() adds those compiled into the binary).
DefinitionSet& application_definitions();
// application_definitions().get(name); names are case-insensitive.
Result<DefinitionPtr> definition(std::string_view name);

}  // namespace kq::dw
