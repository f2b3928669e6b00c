#include "catalog/CRootCategory.h"

#include <algorithm>
#include <vector>

#include "catalog/CArchive.h"

namespace pelko::catalog {

void CRootCategory::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        // The header keeps the password backwards, its length modulo 256 in one byte.
        const std::size_t length = m_strPassword.size() % 256;
        ar.WriteByte(kHeaderMark);
        ar.WriteDword(kHeaderWord);
        ar.WriteByte(static_cast<std::uint8_t>(length));
        std::string reversed(m_strPassword.substr(0, length));
        std::reverse(reversed.begin(), reversed.end());
        ar.WriteRaw({reinterpret_cast<const std::uint8_t*>(reversed.data()), reversed.size()});
        SerializeBody(ar, 0);
        return;
    }
    if (m_bExpectHeader) {
        const std::uint8_t mark = ar.ReadByte();
        const std::uint32_t word = ar.ReadDword();
        if (mark != kHeaderMark || word != kHeaderWord) {
            m_bBadHeader = true;
            return;
        }
        const std::uint8_t length = ar.ReadByte();
        std::string password(length, '\0');
        ar.ReadRaw({reinterpret_cast<std::uint8_t*>(password.data()), password.size()});
        std::reverse(password.begin(), password.end());
        m_strPassword = std::move(password);
    }
    SerializeBody(ar, 0);
}

}  // namespace pelko::catalog
