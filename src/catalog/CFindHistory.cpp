#include "catalog/CFindHistory.h"

#include <algorithm>

#include "catalog/CArchive.h"

namespace pelko::catalog {

void CFindHistory::Add(std::string_view text) {
    if (!m_strings.empty() && m_strings.front() == text) return;
    if (m_strings.size() >= kCapacity) m_strings.resize(kCapacity - 1);
    m_strings.insert(m_strings.begin(), std::string(text));
}

void CFindHistory::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_strings.size()));
        for (const std::string& s : m_strings) ar.WriteString(s);
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    std::vector<std::string> strings;
    // Each text takes at least its one-byte length.
    strings.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, ar.RemainingBound())));
    for (std::uint32_t i = 0; i < count; ++i) strings.push_back(ar.ReadString());
    m_strings = std::move(strings);
}

}  // namespace pelko::catalog
