#pragma once

#include "merge/merge.h"

namespace qf::basic {

// Field expressions of a data merge evaluated by the printing language, rs being the record.
const FieldEvaluator& FieldExpressions();

}  // namespace qf::basic
