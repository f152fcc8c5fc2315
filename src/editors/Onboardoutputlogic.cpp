#include "Onboardoutputlogic.h"

#include "Ivdictio.h"
#include "PX10ConfigOnboardOutputCircuits.h"

#include <algorithm>

namespace onboard {

const std::vector<std::string>& CircuitLabels()
{
    static const std::vector<std::string> list { IvNative("(B01) - Fixed Supervised (A)"),
        IvNative("(B02) - Fixed Supervised (B)"), IvNative("(B03) - Hardware Configurable (C)"),
        IvNative("(B04) - Hardware Configurable (D)"), IvNative("(B05) - Open Collector[-ve] (1)"),
        IvNative("(B06) - Open Collector[-ve] (2)") };
    return list;
}

const std::vector<std::string>& TypeList()
{
    static const std::vector<std::string> list { "SDR", "RLY", "CTL", "TxD", "RLE", "CTE", "EST", "ESO",
        "ESE", "SDH" };
    return list;
}

const std::vector<int>& TypePickOrder()
{
    // "SDR", "SDH", "TxD", "CTL", "RLY", "ESO", "EST", "ESE", "RLE", "CTE"
    static const std::vector<int> order { 0, 9, 3, 2, 1, 7, 6, 8, 4, 5 };
    return order;
}

int PickRowOfType(int typeCode)
{
    const auto& order = TypePickOrder();
    const auto it = std::find(order.begin(), order.end(), typeCode);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

const std::vector<std::string>& EOLTexts()
{
    static const std::vector<std::string> list { IvNative("Resistor"), IvNative("Diode") };
    return list;
}

bool IsDiode(int eolByte, int circuit)
{
    return (eolByte >> (circuit - 1)) & 1;
}

int WithEOL(int eolByte, int circuit, bool diode)
{
    const int bit = 1 << (circuit - 1);
    return diode ? (eolByte | bit) : (eolByte & ~bit);
}

bool AcceptRuleListChar(char32_t c)
{
    return (c >= '0' && c <= '9') || c == '(' || c == ')' || c == ',' || c == '-' || c == ' ' || c == '\b';
}

std::string CommitRuleListText(
    TPX10ConfigOnboardOutputCircuits& circuits, int circuit, const std::string& text)
{
    circuits.SetCircuitRuleListText(circuit, text);
    return circuits.GetCircuitRuleListText(circuit);
}

} // namespace onboard
