#pragma once
// The structural half of loading: a parsed YAML document into a Definition,
// reporting unknown keys, values of the wrong kind and missing entries. The
// checks that need the whole definition (names, expressions, nested reports)
// are validation.h's.
#include <optional>
#include <string_view>

#include <yaml-cpp/yaml.h>

#include "platform/dw/definition/definition.h"
#include "platform/dw/definition/load_errors.h"

namespace kq::dw {

// Lines of top-level entries that later checks report on (1 when absent).
struct DefinitionLines {
  int name = 1;
  int query = 1;
  int update = 1;
};

void read_definition(const YAML::Node& root, Definition& def, LoadErrors& errors, DefinitionLines& lines);

// Band rows of a form or report (`header:`, `detail:` ...): a list of rows,
// each a list of objects (a single object may stand for a one-object row).
void read_band(const YAML::Node& node, BandDef& band, std::string_view band_name, LoadErrors& errors,
               int& unnamed_texts);
// The `grid:` list and a grid's `footer:` list.
void read_grid(const YAML::Node& node, Definition& def, LoadErrors& errors);
void read_grid_footer(const YAML::Node& node, Definition& def, LoadErrors& errors, int& unnamed_texts);

struct ColumnType {
  Type type = Type::String;
  int length = 0;
  int scale = 0;
};
// "char(13)", "varchar(40)", "long", "number", "decimal(2)", "datetime".
std::optional<ColumnType> parse_column_type(std::string_view text);

}  // namespace kq::dw
