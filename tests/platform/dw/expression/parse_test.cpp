// Parsing: precedence, literals, the runtime's call forms, and syntax errors
// with their character positions.
#include <gtest/gtest.h>

#include <string>

#include "platform/dw/expression/parser.h"

namespace kq::dw::expr {
namespace {

// A fully parenthesised rendering of the tree, to check its shape.
std::string render(const SyntaxNode& n) {
  switch (n.kind) {
    case SyntaxKind::Literal:
      return n.value.is_string() ? std::string("'") + n.value.str() + "'"
                                 : std::string(type_name(n.value.type())) + ":" + n.value.debug_string();
    case SyntaxKind::Name: return n.name;
    case SyntaxKind::Negate: return std::string("(-") + render(*n.children[0]) + ")";
    case SyntaxKind::Not: return std::string("(not ") + render(*n.children[0]) + ")";
    case SyntaxKind::Binary:
      return std::string("(") + render(*n.children[0]) + " " + binary_op_text(n.op) + " " + render(*n.children[1]) + ")";
    case SyntaxKind::In: {
      std::string s = std::string("(") + render(*n.children[0]) + (n.negated ? " not in [" : " in [");
      for (size_t i = 1; i < n.children.size(); ++i) {
        s += i > 1 ? "," : "";
        s += render(*n.children[i]);
      }
      return s + "])";
    }
    case SyntaxKind::Call:
    case SyntaxKind::Aggregate: {
      std::string s = n.name + (n.kind == SyntaxKind::Aggregate ? "#(" : "(");
      for (size_t i = 0; i < n.children.size(); ++i) {
        s += i ? "," : "";
        s += render(*n.children[i]);
      }
      return s + ")";
    }
    case SyntaxKind::Case: {
      std::string s = std::string("case(") + render(*n.children[0]);
      for (const auto& arm : n.arms) {
        s += " when";
        for (size_t i = 0; i < arm.values.size(); ++i) {
          s += i ? "," : " ";
          s += render(*arm.values[i]);
        }
        s += " then ";
        s += render(*arm.result);
      }
      if (n.otherwise) {
        s += " else ";
        s += render(*n.otherwise);
      }
      return s + ")";
    }
  }
  return "?";
}

std::string shape(const char* text) {
  auto tree = parse(text);
  if (!tree) return std::string("error: ") + tree.error();
  return render(**tree);
}

std::string error_of(const char* text) {
  auto tree = parse(text);
  return tree ? std::string("parsed: ") + render(**tree) : tree.error();
}

TEST(ExpressionParse, PrecedenceFollowsTheRuntime) {
  EXPECT_EQ(shape("a + b * c - d / e"), "((a + (b * c)) - (d / e))");
  EXPECT_EQ(shape("a or b and not c = d"), "(a or (b and (not (c = d))))");
  EXPECT_EQ(shape("-a * -(b + 1)"), "((-a) * (-(b + long:1)))");
  EXPECT_EQ(shape("a - b - c"), "((a - b) - c)");
  EXPECT_EQ(shape("x + 1 >= y * 2"), "((x + long:1) >= (y * long:2))");
  EXPECT_EQ(shape("+a"), "a");
}

TEST(ExpressionParse, NumbersStringsAndBooleans) {
  EXPECT_EQ(shape("100.00"), "decimal:100");
  EXPECT_EQ(shape("100"), "long:100");
  EXPECT_EQ(shape(".5"), "decimal:0.5");
  EXPECT_EQ(shape("99999999999999999999"), "decimal:99999999999999999999");
  EXPECT_EQ(shape("'a''b'"), "error: syntax error at position 4: expected an operator or end of text, found string 'b'");
  EXPECT_EQ(shape("\"it's\""), "'it's'");
  EXPECT_EQ(shape("'a~'b~~c~n'"), "'a'b~c\n'");
  EXPECT_EQ(shape("TRUE and False"), "(boolean:true and boolean:false)");
}

TEST(ExpressionParse, KeywordsAreCaseInsensitive) {
  EXPECT_EQ(shape("a AND b Or NOT c"), "((a and b) or (not c))");
  EXPECT_EQ(shape("x IN ('1','2')"), "(x in ['1','2'])");
  EXPECT_EQ(shape("x not in (1)"), "(x not in [long:1])");
  EXPECT_EQ(shape("CASE(x WHEN 1 THEN 'a' ELSE 'b')"), "case(x when long:1 then 'a' else 'b')");
}

TEST(ExpressionParse, CallsCaseAndAggregates) {
  EXPECT_EQ(shape("f_retu_para('SYS','CGSMC')"), "f_retu_para('SYS','CGSMC')");
  EXPECT_EQ(shape("currentRow()"), "currentRow()");
  EXPECT_EQ(shape("case(cbgfs when '0' then 'a' when '1', '2' then 'b')"),
            "case(cbgfs when '0' then 'a' when '1','2' then 'b')");
  EXPECT_EQ(shape("sum(if(cxz = '0',ngsf,0) for all)"), "sum#(if((cxz = '0'),ngsf,long:0))");
  EXPECT_EQ(shape("Sum(ngsyhl)"), "Sum#(ngsyhl)");
  EXPECT_EQ(shape("count(x for ALL) + max(y) - min(z) * avg(w)"),
            "((count#(x) + max#(y)) - (min#(z) * avg#(w)))");
}

TEST(ExpressionParse, SpacingIsFree) {
  EXPECT_EQ(shape("if ( xchs = '1' , if(xsse = 0, nysgsf,  nysgsf / (1 + ngfsl / 100.00 ) ) ,  nysgsf  )"),
            "if((xchs = '1'),if((xsse = long:0),nysgsf,(nysgsf / (long:1 + (ngfsl / decimal:100)))),nysgsf)");
  EXPECT_EQ(shape("\ta\r\n=\n1 "), "(a = long:1)");
}

TEST(ExpressionParse, ErrorsNameThePositionAndWhatWasExpected) {
  EXPECT_EQ(error_of("cwxzt = "), "syntax error at position 9: expected an operand, found end of text");
  EXPECT_EQ(error_of("left(cwtsbh,2"), "syntax error at position 14: expected ',' or ')', found end of text");
  EXPECT_EQ(error_of("a + * b"), "syntax error at position 5: expected an operand, found '*'");
  EXPECT_EQ(error_of("(a = 1"), "syntax error at position 7: expected ')', found end of text");
  EXPECT_EQ(error_of("a = 1)"), "syntax error at position 6: expected an operator or end of text, found ')'");
  EXPECT_EQ(error_of("'abc"), "syntax error at position 1: expected closing ' of the string");
  EXPECT_EQ(error_of("a @ b"), "syntax error at position 3: expected an operand or operator, found '@'");
  EXPECT_EQ(error_of(""), "syntax error at position 1: expected an expression, found end of text");
  EXPECT_EQ(error_of("12abc"), "syntax error at position 3: expected an operator after the number, found 'a'");
  EXPECT_EQ(error_of("x in 1"), "syntax error at position 6: expected '(', found '1'");
  EXPECT_EQ(error_of("x in (1 2)"), "syntax error at position 9: expected ',' or ')', found '2'");
  EXPECT_EQ(error_of("a and or b"), "syntax error at position 7: expected an operand, found 'or'");
}

TEST(ExpressionParse, ErrorsInCaseAndAggregates) {
  EXPECT_EQ(error_of("case(x then 1)"), "syntax error at position 8: expected 'when', found 'then'");
  EXPECT_EQ(error_of("case(x when 1 'a')"), "syntax error at position 15: expected ',' or 'then', found string 'a'");
  EXPECT_EQ(error_of("case(x when 1 then 2"),
            "syntax error at position 21: expected 'when', 'else' or ')', found end of text");
  EXPECT_EQ(error_of("case(x when 1 then 2 else 3 when"), "syntax error at position 29: expected ')', found 'when'");
  EXPECT_EQ(error_of("sum(x for page)"), "syntax error at position 11: expected 'all', found 'page'");
  EXPECT_EQ(error_of("sum(x, y)"), "syntax error at position 6: expected 'for all' or ')', found ','");
}

TEST(ExpressionParse, PositionsCountCharactersNotBytes) {
  // '记录数:' is 6 characters (quotes included) but 12 bytes.
  EXPECT_EQ(error_of("'记录数:' + )"), "syntax error at position 10: expected an operand, found ')'");
  EXPECT_EQ(error_of("'结算单' = @"), "syntax error at position 9: expected an operand or operator, found '@'");
}

TEST(ExpressionParse, DeepNestingIsAnErrorNotACrash) {
  std::string deep(5000, '(');
  deep += "1";
  deep += std::string(5000, ')');
  EXPECT_NE(error_of(deep.c_str()).find("nested too deeply"), std::string::npos);
  std::string minus(5000, '-');
  minus += "1";
  EXPECT_NE(error_of(minus.c_str()).find("nested too deeply"), std::string::npos);
  std::string nots;
  for (int i = 0; i < 5000; ++i) nots += "not ";
  nots += "a";
  EXPECT_NE(error_of(nots.c_str()).find("nested too deeply"), std::string::npos);
}

TEST(ExpressionParse, IdentifiersTakeNonAsciiAndRuntimeCharacters) {
  EXPECT_EQ(shape("金额 + a$b + c#1 + d%"), "(((金额 + a$b) + c#1) + d%)");
}

}  // namespace
}  // namespace kq::dw::expr
