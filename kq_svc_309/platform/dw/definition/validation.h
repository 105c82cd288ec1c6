#pragma once
// The checks of a definition that need all of it: names (unique, referring
// to existing columns), the update table and key, the query's arguments,
// every expression, and nested reports.
#include <string_view>

#include "platform/dw/definition/definition.h"
#include "platform/dw/definition/definition_reader.h"
#include "platform/dw/definition/load_errors.h"
#include "platform/dw/definition/loader.h"

namespace kq::dw {

// `expected_name` is the name the file must declare. `options.nested` must be set.
void validate_definition(const Definition& def, std::string_view expected_name, const DefinitionLines& lines,
                         const LoadOptions& options, LoadErrors& errors);

// The ":name" placeholders of a query, outside quoted literals and comments,
// lower case, each once, in order of first appearance.
std::vector<std::string> query_placeholders(std::string_view sql);

}  // namespace kq::dw
