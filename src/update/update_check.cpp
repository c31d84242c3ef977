#include "update/update_check.h"

namespace update {

// The update window and its requests to the store's server come with the self-update;
// until then start-up goes straight on.
void RunStartupUpdateCheck() {}

}  // namespace update
