#include "platform/db/dialect/sql_tree.h"

#include <algorithm>
#include <array>

namespace kq::db::sql {

std::string_view Statement::keep(std::string text) {
  kept_.push_back(std::make_unique<std::string>(std::move(text)));
  return *kept_.back();
}

Node Statement::make(NodeKind kind, std::string_view text, uint32_t at, bool space_before) {
  Node n;
  n.kind = kind;
  n.text = text;
  n.offset = at;
  n.space_before = space_before;
  return n;
}

Node Statement::make_group(Nodes children, uint32_t at, bool space_before) {
  Node n;
  n.kind = NodeKind::Group;
  n.offset = at;
  n.space_before = space_before;
  n.children = std::move(children);
  return n;
}

Error Statement::error_at(const Node& node, const std::string& what) const {
  std::string token = node.kind == NodeKind::Group ? std::string("(") : std::string(node.text);
  return Error{what + " near '" + token + "' at " + describe_position(source, node.offset)};
}

Result<Statement> parse(std::string_view sql) {
  auto tokens = lex(sql);
  if (!tokens) return Error{tokens.error()};
  Statement st;
  st.source = sql;
  // Open groups: the node of each '(' (kept in `open`) and the list being filled.
  std::vector<Node> open;
  std::vector<Nodes*> lists{&st.nodes};
  const std::vector<Token>& toks = *tokens;
  for (size_t k = 0; k < toks.size(); ++k) {
    const Token& t = toks[k];
    switch (t.kind) {
      case TokenKind::LParen: {
        if (static_cast<int>(open.size()) >= kMaxDepth)
          return Error{"parentheses nested deeper than " + std::to_string(kMaxDepth) + " at " +
                       describe_position(sql, t.offset)};
        Node g;
        g.kind = NodeKind::Group;
        g.offset = t.offset;
        g.space_before = t.space_before;
        open.push_back(std::move(g));
        break;
      }
      case TokenKind::RParen: {
        if (open.empty()) return Error{"unbalanced ')' at " + describe_position(sql, t.offset)};
        Node g = std::move(open.back());
        open.pop_back();
        g.space_before_close = t.space_before;
        Nodes& parent = open.empty() ? st.nodes : open.back().children;
        parent.push_back(std::move(g));
        break;
      }
      case TokenKind::Semicolon:  // ends the statement; an open '(' is reported below
        if (k + 1 != toks.size())
          return Error{"text after ';' (one statement at a time) at " + describe_position(sql, toks[k + 1].offset)};
        break;
      default: {
        Node n;
        n.offset = t.offset;
        n.space_before = t.space_before;
        n.text = t.text;
        switch (t.kind) {
          case TokenKind::Word:
            n.kind = NodeKind::Word;
            break;
          case TokenKind::String:
            n.kind = NodeKind::String;
            break;
          case TokenKind::Number:
            n.kind = NodeKind::Number;
            break;
          case TokenKind::Operator:
            n.kind = NodeKind::Operator;
            break;
          case TokenKind::Comma:
            n.kind = NodeKind::Comma;
            break;
          case TokenKind::HostVar:
            n.kind = NodeKind::HostVar;
            break;
          default:
            break;
        }
        Nodes& list = open.empty() ? st.nodes : open.back().children;
        list.push_back(std::move(n));
        break;
      }
    }
  }
  if (!open.empty()) return Error{"unbalanced '(' at " + describe_position(sql, open.back().offset)};
  if (st.nodes.empty()) return Error{"empty statement"};
  return st;
}

namespace {

void emit_nodes(const Nodes& nodes, PlaceholderStyle style, std::string& out, std::vector<Parameter>& params) {
  for (const Node& n : nodes) {
    if (n.space_before && !out.empty() && out.back() != ' ') out += ' ';
    switch (n.kind) {
      case NodeKind::Group:
        out += '(';
        emit_nodes(n.children, style, out, params);
        if (n.space_before_close && out.back() != ' ' && out.back() != '(') out += ' ';
        out += ')';
        break;
      case NodeKind::HostVar:
        params.push_back(Parameter{text::lower(n.text.substr(1)), n.target});
        if (style == PlaceholderStyle::Question)
          out += '?';
        else
          out += '$' + std::to_string(params.size());
        break;
      default:
        out += n.text;
        break;
    }
  }
}

}  // namespace

std::string emit(const Statement& statement, PlaceholderStyle style, std::vector<Parameter>& params) {
  std::string out;
  out.reserve(statement.source.size() + 16);
  emit_nodes(statement.nodes, style, out, params);
  return out;
}

Translation finish_translation(Statement& statement, PlaceholderStyle style) {
  Translation t;
  t.kind = statement.kind;
  t.sql = emit(statement, style, t.params);
  t.into = std::move(statement.into);
  return t;
}

bool is_reserved(std::string_view word) {
  static constexpr std::array<std::string_view, 52> kReserved = {
      "all",    "and",    "any",      "as",       "asc",   "between", "by",        "case",   "commit",
      "cross",  "delete", "desc",     "distinct", "else",  "end",     "except",    "exists", "from",
      "full",   "group",  "having",   "in",       "inner", "insert",  "intersect", "into",   "is",
      "join",   "left",   "like",     "limit",    "not",   "null",    "on",        "or",     "order",
      "outer",  "right",  "rollback", "select",   "set",   "some",    "then",      "top",    "union",
      "update", "using",  "values",   "when",     "where", "with",    "percent"};
  return std::any_of(kReserved.begin(), kReserved.end(), [&](std::string_view k) { return text::iequals(word, k); });
}

size_t find_word(const Nodes& seq, size_t from, size_t to, std::string_view lower_keyword) {
  for (size_t k = from; k < to && k < seq.size(); ++k)
    if (is_word(seq[k], lower_keyword)) return k;
  return to;
}

std::vector<Range> split_commas(const Nodes& seq, size_t from, size_t to) {
  std::vector<Range> out;
  size_t begin = from;
  for (size_t k = from; k < to; ++k) {
    if (seq[k].kind == NodeKind::Comma) {
      out.push_back(Range{begin, k});
      begin = k + 1;
    }
  }
  out.push_back(Range{begin, to});
  return out;
}

std::string normalize_name(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  size_t start = 0;
  while (start <= name.size()) {
    size_t dot = name.find('.', start);
    std::string_view part = name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (!part.empty() && !text::iequals(part, "dbo")) {
      if (!out.empty()) out += '.';
      out += part;
    }
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return out;
}

std::string literal_text(std::string_view quoted) {
  if (!quoted.empty() && (quoted.front() == 'N' || quoted.front() == 'n')) quoted.remove_prefix(1);
  std::string out;
  if (quoted.size() < 2) return out;
  quoted = quoted.substr(1, quoted.size() - 2);
  out.reserve(quoted.size());
  for (size_t k = 0; k < quoted.size(); ++k) {
    out += quoted[k];
    if (quoted[k] == '\'' && k + 1 < quoted.size() && quoted[k + 1] == '\'') ++k;
  }
  return out;
}

std::optional<Range> day_text_operand(const Nodes& a) {
  const std::vector<Range> parts = split_commas(a, 0, a.size());
  if (parts.size() != 3 || parts[0].size() != 2 || parts[1].size() < 1 || parts[2].size() != 1) return std::nullopt;
  const Node& type = a[parts[0].begin];
  const Node& length = a[parts[0].begin + 1];
  if (!(is_word(type, "char") || is_word(type, "varchar") || is_word(type, "nchar") || is_word(type, "nvarchar")))
    return std::nullopt;
  if (length.kind != NodeKind::Group || length.children.size() != 1 || length.children.front().text != "10")
    return std::nullopt;
  if (a[parts[2].begin].text != "111") return std::nullopt;
  return parts[1];
}

}  // namespace kq::db::sql
