#include "platform/dw/definition/loader.h"

#include "platform/dw/definition/definition_reader.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/dw/definition/validation.h"

namespace kq::dw {

std::string definition_name_of(std::string_view file) {
  auto slash = file.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? file : file.substr(slash + 1);
  auto dot = base.rfind('.');
  return std::string(dot == std::string_view::npos ? base : base.substr(0, dot));
}

Result<DefinitionPtr> load_definition(std::string_view text, std::string_view file, const LoadOptions& options) {
  LoadErrors errors{std::string(file)};
  YAML::Node root;
  try {
    root = YAML::Load(std::string(text));
  } catch (const YAML::Exception& e) {
    errors.add(e.mark.line < 0 ? 0 : e.mark.line + 1, "not valid YAML: " + e.msg);
    return errors.error();
  }
  auto def = std::make_shared<Definition>();
  DefinitionLines lines;
  read_definition(root, *def, errors, lines);
  if (!errors.empty()) return errors.error();

  LoadOptions resolved = options;
  if (!resolved.nested) resolved.nested = [](std::string_view name) { return definition(name); };
  validate_definition(*def, definition_name_of(file), lines, resolved, errors);
  if (!errors.empty()) return errors.error();
  return DefinitionPtr(std::move(def));
}

}  // namespace kq::dw
