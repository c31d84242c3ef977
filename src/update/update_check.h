// The check against the store's web server made at every start.
#pragma once

namespace update {

// Loads the hidden update window, which asks the server whether the program was switched off
// and whether a newer version exists; may end the process.
void RunStartupUpdateCheck();

}  // namespace update
