// Monitor and window handles travel between parts of the program as unsigned decimal text.
// FormatHandleText: a handle as "%llu".
// ParseHandleText: such a text back to its 64-bit value (automatic base, as the platform's wcstoull).
#pragma once
#include <windows.h>
#include "framework/Strings.h"

CString FormatHandleText(const void* handle);
ULONGLONG ParseHandleText(LPCWSTR text);
