#include "display/HandleText.h"

#include <cwchar>

CString FormatHandleText(const void* handle)
{
    CString text;
    text.Format(L"%llu", static_cast<ULONGLONG>(reinterpret_cast<UINT_PTR>(handle)));
    return text;
}

ULONGLONG ParseHandleText(LPCWSTR text)
{
    return wcstoull(text, nullptr, 0);
}
