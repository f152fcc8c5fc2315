#include "PanelTypeList.h"

const std::vector<std::string>& PanelTypesAll()
{
    static const std::vector<std::string> types = {
        "412-304-xxx : PX21/22",
        "412-303-xxx : PX11/12",
        "412-302-xxx : PX20",
        "412-301-xxx : PX10",
        "412-305-xxx : Marvex",
        "412-302-4xx : KRT20",
        "412-301-4xx : KRT10",
    };
    return types;
}

int FindPanelTypeIndex(const std::string& Identification)
{
    constexpr std::size_t KeyLength = 7;
    std::size_t start = Identification.find("412-");
    // A cut-off key such as "412-3" would match the wrong row.
    if (start == std::string::npos || Identification.size() - start < KeyLength)
        return -1;
    const std::string key = Identification.substr(start, KeyLength);
    const auto& types = PanelTypesAll();
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i].find(key) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}
