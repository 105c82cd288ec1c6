#pragma once
// Reading one YAML mapping of a definition file: unknown and repeated keys
// are reported, scalars are converted with their line in every message.
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <yaml-cpp/yaml.h>

#include "platform/dw/definition/load_errors.h"

namespace kq::dw {

// Line (from 1) of a node; `fallback` when the node carries none.
int line_of(const YAML::Node& node, int fallback = 0);

class YamlMap {
 public:
  // `what` names the mapping in messages ("column", "object"). Reports every
  // key not in `allowed` and every key given twice. A node that is not a
  // mapping is reported as such and reads as empty.
  YamlMap(const YAML::Node& node, std::string_view what, std::span<const std::string_view> allowed,
          LoadErrors& errors, int fallback_line = 0);
  YamlMap(const YAML::Node& node, std::string_view what, std::initializer_list<std::string_view> allowed,
          LoadErrors& errors, int fallback_line = 0)
      : YamlMap(node, what, std::span<const std::string_view>(allowed.begin(), allowed.size()), errors, fallback_line) {}

  bool ok() const { return ok_; }
  int line() const { return line_; }
  bool has(std::string_view key) const;
  // The value node of `key` (undefined when absent).
  YAML::Node node(std::string_view key) const;
  // Line of `key`'s value (or of the mapping).
  int line(std::string_view key) const;

  // Scalars. Absent keys give nullopt silently; a value of the wrong kind is
  // reported and gives nullopt. A null value reads as "" for text.
  std::optional<std::string> text(std::string_view key) const;
  std::optional<double> number(std::string_view key) const;
  std::optional<int> integer(std::string_view key) const;
  std::optional<bool> flag(std::string_view key) const;
  // A text that must be one of `choices` (compared ignoring case, returned lower case).
  std::optional<std::string> choice(std::string_view key, std::initializer_list<std::string_view> choices) const;

  LoadErrors& errors() const { return errors_; }

 private:
  YAML::Node node_;
  std::string what_;
  LoadErrors& errors_;
  int line_ = 0;
  bool ok_ = true;
  std::vector<std::pair<std::string, YAML::Node>> entries_;
};

// True/false words of YAML ("true", "yes", "on" ...); nullopt for others.
std::optional<bool> parse_flag(std::string_view text);
// A whole text as a number; nullopt when it is none.
std::optional<double> parse_number(std::string_view text);

}  // namespace kq::dw
