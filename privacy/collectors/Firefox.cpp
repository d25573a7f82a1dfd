// Firefox traces.
#include "privacy/PrivacyScanner.h"

namespace velmora {

// NOT YET BUILT: the Firefox collector comes with its own change; until then
// its rows of the catalogue record nothing.
void TPrivacyScanner::CollectFirefox(const std::wstring & /*categoryKey*/,
                                     ITextLabel & /*progressLabel*/) {}

} // namespace velmora
