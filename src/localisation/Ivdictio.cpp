#include "Ivdictio.h"

std::string Translate(const std::string& native)
{
    return native;
}
