#pragma once
// The light token tree that every dialect rewrites: the tokens of one
// statement with each parenthesised part folded into a Group node. Rewrite
// passes (sql_rewrite.h) change the tree in place; emit() writes it back as
// text with the placeholder style of a backend.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/dialect/catalog.h"
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_lexer.h"
#include "platform/result.h"
#include "platform/value/text.h"

namespace kq::db::sql {

enum class NodeKind { Word, String, Number, Operator, Comma, HostVar, Group };

struct Node {
  NodeKind kind = NodeKind::Word;
  std::string_view text;             // the token (":name" for a host variable); empty for a Group
  uint32_t offset = 0;               // source offset of the token, or of the token a rewrite replaced
  bool space_before = false;         // written with a blank before it
  bool space_before_close = false;   // Group: a blank before its ')'
  std::optional<ColumnInfo> target;  // HostVar: the column it is stored into or compared with
  std::vector<Node> children;        // Group: the nodes between the parentheses
};

using Nodes = std::vector<Node>;

// One statement being translated. Node texts point into the source or into
// texts that the statement keeps (keep()), so the source must outlive it.
class Statement {
 public:
  std::string_view source;
  Nodes nodes;
  StatementKind kind = StatementKind::Other;
  std::vector<std::string> into;  // host variables taken out of an INTO clause, lower case

  // Keeps `text` for the life of the statement and returns a view of it.
  std::string_view keep(std::string text);
  // New nodes for rewrites; `at` gives the source position used in errors.
  Node make(NodeKind kind, std::string_view text, uint32_t at, bool space_before = true);
  Node make_group(Nodes children, uint32_t at, bool space_before = false);

  // "what near 'token' at line L, column C".
  Error error_at(const Node& node, const std::string& what) const;

 private:
  std::vector<std::unique_ptr<std::string>> kept_;
};

// Lexes `sql` and folds parentheses into groups. One trailing ';' is allowed.
// Errors: lexer errors, unbalanced parentheses, nesting deeper than
// kMaxDepth, a second statement after ';', and empty text.
constexpr int kMaxDepth = 64;
Result<Statement> parse(std::string_view sql);

// How a backend writes placeholders.
enum class PlaceholderStyle {
  Question,        // ?          (ODBC, SQLite)
  DollarNumbered,  // $1, $2 ... (PostgreSQL)
};

// Writes the tree as SQL: nodes separated by one blank where the source had
// any whitespace (or a rewrite asked for one), host variables as placeholders.
// `params` receives one Parameter per placeholder, in order.
std::string emit(const Statement& statement, PlaceholderStyle style, std::vector<Parameter>& params);

// The translation of a statement that every pass has rewritten: its kind,
// its SQL as emit() writes it with `style` placeholders, and the host
// variables of its INTO list (moved out of `statement`).
Translation finish_translation(Statement& statement, PlaceholderStyle style);

// --- Helpers for passes -------------------------------------------------------

inline bool is_word(const Node& n, std::string_view lower_keyword) {
  return n.kind == NodeKind::Word && text::iequals(n.text, lower_keyword);
}
inline bool is_operator(const Node& n, std::string_view op) { return n.kind == NodeKind::Operator && n.text == op; }
// The Word begins a SELECT (the first node of a query or subquery).
inline bool starts_select(const Nodes& seq) { return !seq.empty() && is_word(seq.front(), "select"); }

// Words that are never a column or table name in the module's SQL.
bool is_reserved(std::string_view word);

// Index of the first Word equal to `lower_keyword` in [from, to), or `to`.
size_t find_word(const Nodes& seq, size_t from, size_t to, std::string_view lower_keyword);

// [begin, end) ranges of `seq` between top-level commas, within [from, to).
struct Range {
  size_t begin = 0, end = 0;
  size_t size() const { return end - begin; }
};
std::vector<Range> split_commas(const Nodes& seq, size_t from, size_t to);
// The text of a string literal (N'…' too) without its quotes, '' read as one quote.
std::string literal_text(std::string_view quoted);
// The day of a date as text: the arguments of convert(char(10), x, 111) (also
// varchar, nchar, nvarchar). The range of x in `args`; nullopt for any other
// arguments.
std::optional<Range> day_text_operand(const Nodes& args);

// A table or column name as the catalog knows it: "database..table" becomes
// "database.table" and a "dbo" owner part is dropped ("dbo.f" -> "f",
// "kq_club.dbo.club01c" -> "kq_club.club01c").
std::string normalize_name(std::string_view name);

}  // namespace kq::db::sql
