#pragma once
// The root of the catalog tree. Adds the catalog password, which the file keeps in a header
// before the root's body, and the catalog's modified flag.

#include <cstdint>
#include <string>

#include "catalog/CCategory.h"

namespace pelko::catalog {

class CRootCategory final : public CCategory {
public:
    static constexpr std::uint8_t kHeaderMark = 0x33;
    static constexpr std::uint32_t kHeaderWord = 0x33221100;
    static constexpr std::size_t kMaxPasswordBytes = 255;

    std::string m_strPassword;    // stored in the header; empty means no login
    bool m_bBadHeader = false;    // not stored: a load found no valid header
    bool m_bExpectHeader = true;  // not stored: whether a load reads the header
    bool m_bModified = false;     // not stored: the catalog changed since it was loaded or saved

    // Writes header and body. Reading with m_bExpectHeader checks the header first and stops
    // with m_bBadHeader set when it is not there.
    void Serialize(CArchive& ar) override;
};

}  // namespace pelko::catalog
