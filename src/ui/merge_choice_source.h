#pragma once

#include "merge/merge.h"
#include "shell/app_state.h"

namespace qf {

// The records a merge choice names: its CSV file as it is read, or its database's query (or
// table), with the printing language evaluating the field expressions.
MergeSource MergeSourceOf(const MergeChoice& choice);

}  // namespace qf
