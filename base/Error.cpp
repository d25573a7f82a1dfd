#include "base/Error.h"

#include "base/Text.h"

namespace velmora {

EAppError::EAppError(std::wstring message)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}

} // namespace velmora
