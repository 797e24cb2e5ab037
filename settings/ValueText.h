// Readers and writers of the small values people type by hand, in the preferences
// file and on the command line.
//   SplitText          pieces between separators, each trimmed
//   ParseDecimal       plain decimal digits
//   MaxDisplayNumber   the highest display number (the n in \\.\DISPLAYn) accepted
//   ParseDisplayList, DisplayListText   "all" or "1,3"
#pragma once
#include <vector>
#include "framework/Strings.h"

// Every piece between separators, trimmed; empty pieces are kept so callers can reject them.
std::vector<CString> SplitText(const CString& text, WCHAR separator);

// TRUE for one or more ASCII digits and nothing else; larger values stop at INT_MAX
// so that a range check still rejects them.
BOOL ParseDecimal(const CString& text, int& value);

constexpr int MaxDisplayNumber = 99;

// "all" (any case) gives an empty list; otherwise display numbers 1..MaxDisplayNumber separated
// by commas, returned ascending without repeats. FALSE leaves numbers untouched.
BOOL ParseDisplayList(const CString& text, std::vector<int>& numbers);
// The inverse: "all" for an empty list, else "1,3".
CString DisplayListText(const std::vector<int>& numbers);
