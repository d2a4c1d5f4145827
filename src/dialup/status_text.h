// Texts for RAS connection states (RASCONNSTATE) in the program's three languages.
#pragma once

#include <string>

enum TLanguage { English, Czech, Portuguese };

// The state's text in `language`: Czech in code page 1250, Portuguese in code page 1252,
// English (also for any value outside the enum) in ASCII. A state without a text gives "".
std::string StateText(TLanguage language, int state);
