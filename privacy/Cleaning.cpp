// The cleaning run.
#include "PrivacyScanner.h"

namespace velmora {

// NOT YET BUILT: the cleaning run (deleting the recorded files, registry
// values and keys, cookie cache entries, the URL history and the browser
// database rows) comes with its own change. Until then it does nothing.
void TPrivacyScanner::CleanCollected(ITextLabel & /*progressLabel*/, ITextLabel & /*noteLabel*/,
                                     IProgressBar & /*progressBar*/) {}

} // namespace velmora
