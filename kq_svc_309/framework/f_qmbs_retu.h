#pragma once
#include "platform/value/value.h"

namespace kq::fw {

// A clause of the repair contract's quality guarantee by number. Clause 4 is
// the guarantee of minor repairs that follows clauses 1 and 2 on the
// contract. The shop may word it itself with the system parameter SVC
// "CQMBS<n>"; otherwise the standard wording is returned. Null for a clause
// that has no text.
Str f_qmbs_retu(long clause);

}  // namespace kq::fw
