// The BSTR owner of the Drevka calls.
#include "privacy/DrevkaBinding.h"

namespace velmora::privacy {

TBstr::TBstr(const std::wstring &text)
    : s_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

TBstr::~TBstr() { ::SysFreeString(s_); }

std::wstring TBstr::Text() const {
  return s_ ? std::wstring(s_, ::SysStringLen(s_)) : std::wstring();
}

} // namespace velmora::privacy
