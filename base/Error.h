#pragma once
// The one exception type of the program: a failure with a message text.
#include <stdexcept>
#include <string>

namespace velmora {

class EAppError : public std::runtime_error {
public:
  explicit EAppError(std::wstring message);
  const std::wstring &Message() const { return message_; }

private:
  std::wstring message_;
};

} // namespace velmora
