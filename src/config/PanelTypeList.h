#pragma once
// The fixed list of panel types; a configuration stores the row index.
#include <string>
#include <vector>

// The rows of lbxPanelTypesAll, in order. Data, never translated.
const std::vector<std::string>& PanelTypesAll();

// The row whose text contains the 7 characters from the first "412-" of a
// panel's software identification (first match wins); -1 when there is no
// "412-", fewer than 7 characters follow it, or no row matches.
int FindPanelTypeIndex(const std::string& Identification);
