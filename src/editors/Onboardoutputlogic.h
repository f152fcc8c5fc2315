#pragma once
// The on-board output frame's rules, without widgets: the six circuits'
// labels, the output type codes and the order the selectors offer them in,
// the end-of-line bits, and the rule list edit's key filter and commit.
#include <string>
#include <vector>

class TPX10ConfigOnboardOutputCircuits;

namespace onboard {

constexpr int CircuitCount = 6;
constexpr int EOLCircuits = 4; // B01 to B04 are supervised

// English entries; shown through Translate.
const std::vector<std::string>& CircuitLabels();
// The output types in code order ("SDR" is 0, "SDH" 9).
const std::vector<std::string>& TypeList();
// The type codes in the order the selectors offer them.
const std::vector<int>& TypePickOrder();
// The selector row of a stored type code; -1 for a code outside the list.
int PickRowOfType(int typeCode);
const std::vector<std::string>& EOLTexts(); // "Resistor", "Diode"

bool IsDiode(int eolByte, int circuit);
// The EOL byte with only circuit's bit changed.
int WithEOL(int eolByte, int circuit, bool diode);

// The characters a rule list edit accepts as typed.
bool AcceptRuleListChar(char32_t c);
// Stores `text` as circuit's rule list and returns the list as now stored,
// which the edit then shows.
std::string CommitRuleListText(
    TPX10ConfigOnboardOutputCircuits& circuits, int circuit, const std::string& text);

} // namespace onboard
