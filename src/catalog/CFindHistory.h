#pragma once
// The recent search texts, newest first, at most 20, kept in the catalog file after the tree.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::catalog {

class CArchive;

class CFindHistory {
public:
    static constexpr std::size_t kCapacity = 20;

    // Puts a text at the top unless it is already the newest one (byte comparison); drops the
    // oldest when the list is full.
    void Add(std::string_view text);
    void Clear() { m_strings.clear(); }
    const std::vector<std::string>& Strings() const { return m_strings; }

    void Serialize(CArchive& ar);

private:
    std::vector<std::string> m_strings;
};

}  // namespace pelko::catalog
