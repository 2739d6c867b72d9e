#include "core/affinity.h"

#include <string>

namespace pw {

Affinity AffinityOf(std::string_view declaredType) {
    std::string upper(declaredType);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (upper.find("INT") != std::string::npos) return Affinity::Integer;
    if (upper.find("CHAR") != std::string::npos || upper.find("CLOB") != std::string::npos ||
        upper.find("TEXT") != std::string::npos)
        return Affinity::Text;
    if (upper.find("BLOB") != std::string::npos || upper.empty()) return Affinity::Blob;
    if (upper.find("REAL") != std::string::npos || upper.find("FLOA") != std::string::npos ||
        upper.find("DOUB") != std::string::npos)
        return Affinity::Real;
    return Affinity::Numeric;
}

}  // namespace pw
