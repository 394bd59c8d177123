#pragma once

#include <string>
#include <string_view>

#include "document/design.h"

namespace qf {

// C# (5 or later) that prints the design through System.Drawing: a public static class named
// `className` with F_DataPrint(Graphics, Func<string, string>), PrintPage for a PrintDocument and
// the helpers that draw each kind, lines ending in CR LF. Mono's mcs compiles it with
// -r:System.Drawing alone. Reads the design only.
std::string P_MakeCSharp(const Design& design, std::string_view className);

// A name C# takes as an identifier: letters, digits and underscores kept (any letter, so Japanese
// names stay), anything else an underscore, a leading digit or a keyword prefixed.
std::string CSharpIdentifier(std::string_view name);
// The inside of a C# string literal: quotes, backslashes, line breaks and other control
// characters escaped.
std::string CSharpStringBody(std::string_view text);

}  // namespace qf
