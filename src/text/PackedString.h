#pragma once
// A byte string that takes one pointer inside its owner: the length and the bytes live in one
// heap block, and the empty string holds no block at all. File records keep their name and
// memo in it, which keeps a record of a catalog with millions of files small (a std::string
// takes four pointers even when empty, as most memos are).

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace pelko::text {

class PackedString {
public:
    PackedString() = default;
    PackedString(std::string_view text) { Assign(text); }  // NOLINT: implicit, like std::string
    PackedString(const std::string& text) : PackedString(std::string_view(text)) {}
    PackedString(const char* text) : PackedString(std::string_view(text)) {}
    PackedString(const PackedString& other) : PackedString(other.view()) {}
    PackedString(PackedString&&) noexcept = default;
    PackedString& operator=(const PackedString& other) {
        if (this != &other) Assign(other.view());
        return *this;
    }
    PackedString& operator=(PackedString&&) noexcept = default;
    PackedString& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    PackedString& operator=(const std::string& text) { return *this = std::string_view(text); }
    PackedString& operator=(const char* text) { return *this = std::string_view(text); }

    std::string_view view() const {
        if (!m_block) return {};
        std::uint32_t size;
        std::memcpy(&size, m_block.get(), sizeof size);
        return {m_block.get() + sizeof size, size};
    }
    operator std::string_view() const { return view(); }  // NOLINT: reads like a string
    std::string str() const { return std::string(view()); }

    std::size_t size() const { return view().size(); }
    bool empty() const { return !m_block; }
    void clear() { m_block.reset(); }

    friend bool operator==(const PackedString& a, const PackedString& b) { return a.view() == b.view(); }
    friend bool operator==(const PackedString& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const PackedString& a, const char* b) { return a.view() == std::string_view(b); }
    friend bool operator==(const PackedString& a, const std::string& b) { return a.view() == b; }

private:
    void Assign(std::string_view text) {
        if (text.empty()) {
            m_block.reset();
            return;
        }
        const auto size = static_cast<std::uint32_t>(text.size());
        auto block = std::make_unique_for_overwrite<char[]>(sizeof size + text.size());
        std::memcpy(block.get(), &size, sizeof size);
        std::memcpy(block.get() + sizeof size, text.data(), text.size());
        m_block = std::move(block);
    }

    std::unique_ptr<char[]> m_block;
};

std::ostream& operator<<(std::ostream& out, const PackedString& text);

}  // namespace pelko::text
