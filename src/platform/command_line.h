#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// Splits a parameter text into arguments the way Windows programs read their
// command line, so that parameters written for the original program keep
// their meaning without ever going through a shell:
// - arguments are separated by runs of spaces and TABs outside quotes;
// - a double quote starts or ends a quoted part; inside one, spaces and TABs
//   belong to the argument and a doubled quote ("") is one literal quote;
// - 2n backslashes before a quote give n backslashes and the quote acts as
//   above; 2n+1 backslashes before a quote give n backslashes and a literal
//   quote; backslashes not followed by a quote are kept as they are;
// - an argument that consists only of a quoted empty part ("") is kept as an
//   empty argument.
std::vector<std::string> splitCommandLine(std::string_view text);

}  // namespace hinagiku::platform

namespace hinagiku::platform {

// The inverse of splitCommandLine for one argument: splitting the result
// gives back exactly `argument`, whatever it holds (spaces, quotes,
// backslashes, nothing at all).
std::string quoteCommandLineArgument(std::string_view argument);

// Arguments quoted and joined by spaces: splitCommandLine gives them back.
std::string joinCommandLine(const std::vector<std::string>& arguments);

}  // namespace hinagiku::platform
