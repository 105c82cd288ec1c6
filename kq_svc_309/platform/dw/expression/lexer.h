#pragma once
// Splits expression text into tokens.
//
// Blanks (space, tab, CR, LF) separate tokens. A string is enclosed in single
// or double quotes; inside it '~' escapes the next character ("~'" a quote,
// "~~" a tilde, "~n" newline, "~t" tab, "~r" carriage return). Identifiers
// start with a letter, '_' or any non-ASCII character and continue with those,
// digits, '$', '#' and '%'. A '-' is always an operator.
#include <string_view>
#include <vector>

#include "platform/dw/expression/token.h"
#include "platform/result.h"

namespace kq::dw::expr {

// The tokens of `text`, ending with one End token; an error names the
// character position of the offending character and what was expected.
Result<std::vector<Token>> tokenize(std::string_view text);

}  // namespace kq::dw::expr
