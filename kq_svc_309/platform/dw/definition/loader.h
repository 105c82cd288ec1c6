#pragma once
// Loading of definition files (docs/datawindow-format.md) into Definitions.
//
//   auto def = load_definition(text, "data/d_svc305_01.yaml");
//   if (!def) show(def.error());   // "data/d_svc305_01.yaml:12: unknown key 'heading'" ...
//
// A file loads only when it is valid: every key known and of the right type,
// its name equal to the file's, every expression compiling against the
// definition's own columns, computed fields and retrieval arguments and the
// global functions of the registry, every nested report found with as many
// arguments as it takes, every object name unique. The error lists every
// problem found, one "file:line: message" per line.
#include <functional>
#include <string_view>

#include "platform/dw/definition/definition.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/result.h"

namespace kq::dw {

// Finds a definition by name for the checks of nested reports. A missing one
// is an error "dataobject 'NAME' not found"; any other error is the nested
// file's own.
using DefinitionLookup = std::function<Result<DefinitionPtr>(std::string_view name)>;

struct LoadOptions {
  // The global functions expressions may call; null means global_functions().
  const expr::FunctionRegistry* functions = nullptr;
  // Where nested reports are looked up; empty means the embedded definitions.
  DefinitionLookup nested;
};

// Loads one definition from its text. `file` is the file's path as errors
// name it ("data/d_svc305_01.yaml"); its stem is the name the file must declare.
Result<DefinitionPtr> load_definition(std::string_view text, std::string_view file, const LoadOptions& options = {});

// The definition name a file path stands for: "data/d_x.yaml" -> "d_x".
std::string definition_name_of(std::string_view file);

}  // namespace kq::dw
