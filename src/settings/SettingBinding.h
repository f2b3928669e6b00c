#pragma once
// Which key of the settings table fills which member of a value that holds options. A holder
// lists its bindings once, as a constexpr array; building a binding checks its key against the
// table, so a key that is not there, is of the other kind, is read at use or names a per-command
// pattern does not compile. Loading, defaults and writes of every holder go through the routines
// here, which take the key, the kind and the default from the table row alone.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "text/MbString.h"

namespace pelko::settings {

namespace detail {

// The index of a key that a holder may keep a copy of; throws (no constant expression) otherwise.
constexpr std::size_t HeldRow(std::string_view key, SettingKind kind) {
    const std::size_t i = SettingIndex(key);
    if (i == kSettingsCount || kSettingsTable[i].key != key) throw std::logic_error("not a key of the table");
    if (kSettingsTable[i].kind != kind) throw std::logic_error("setting of the other kind");
    if (kSettingsTable[i].use != SettingUse::kStartUp) throw std::logic_error("setting read at use");
    return i;
}

}  // namespace detail

template <class Holder>
class SettingBinding {
public:
    enum class Type : std::uint8_t { kFlag, kInt, kByte, kText };

    constexpr SettingBinding(std::string_view key, bool Holder::*member)
        : m_row(detail::HeldRow(key, SettingKind::kInt)), m_type(Type::kFlag), m_flag(member) {}
    constexpr SettingBinding(std::string_view key, int Holder::*member)
        : m_row(detail::HeldRow(key, SettingKind::kInt)), m_type(Type::kInt), m_int(member) {}
    // A byte keeps the low eight bits of the stored number.
    constexpr SettingBinding(std::string_view key, std::uint8_t Holder::*member)
        : m_row(detail::HeldRow(key, SettingKind::kInt)), m_type(Type::kByte), m_byte(member) {}
    constexpr SettingBinding(std::string_view key, std::string Holder::*member)
        : m_row(detail::HeldRow(key, SettingKind::kString)), m_type(Type::kText), m_text(member) {}

    constexpr const SettingRow& Row() const { return kSettingsTable[m_row]; }
    constexpr std::string_view Key() const { return Row().key; }
    constexpr Type MemberType() const { return m_type; }

    // Puts a number into an integer member.
    void Assign(Holder& holder, int value) const {
        switch (m_type) {
            case Type::kFlag:
                holder.*m_flag = value != 0;
                return;
            case Type::kInt:
                holder.*m_int = value;
                return;
            case Type::kByte:
                holder.*m_byte = static_cast<std::uint8_t>(value);
                return;
            case Type::kText:
                break;
        }
        throw std::invalid_argument("setting of the other kind: " + std::string(Key()));
    }
    // Puts text into a text member, in lower case when the row is a list.
    void Assign(Holder& holder, std::string_view value) const {
        if (m_type != Type::kText)
            throw std::invalid_argument("setting of the other kind: " + std::string(Key()));
        holder.*m_text = Row().lowerCaseList ? text::AsciiLower(value) : std::string(value);
    }

    // The value of an integer member as the store holds it.
    int IntOf(const Holder& holder) const {
        switch (m_type) {
            case Type::kFlag:
                return holder.*m_flag ? 1 : 0;
            case Type::kInt:
                return holder.*m_int;
            case Type::kByte:
                return holder.*m_byte;
            case Type::kText:
                break;
        }
        throw std::invalid_argument("setting of the other kind: " + std::string(Key()));
    }

    // The value of a text member.
    const std::string& TextOf(const Holder& holder) const {
        if (m_type != Type::kText)
            throw std::invalid_argument("setting of the other kind: " + std::string(Key()));
        return holder.*m_text;
    }

    // Fills the member from the store, with the row's default when the store lacks the key.
    void Load(Holder& holder, const SettingsStore& store) const {
        if (m_type == Type::kText)
            Assign(holder, std::string_view(store.ReadString(Key(), Row().stringDefault)));
        else
            Assign(holder, store.ReadInt(Key(), Row().intDefault));
    }
    // Fills the member with the row's default.
    void LoadDefault(Holder& holder) const {
        if (m_type == Type::kText)
            Assign(holder, Row().stringDefault);
        else
            Assign(holder, Row().intDefault);
    }

private:
    std::size_t m_row;
    Type m_type;
    bool Holder::*m_flag = nullptr;
    int Holder::*m_int = nullptr;
    std::uint8_t Holder::*m_byte = nullptr;
    std::string Holder::*m_text = nullptr;
};

// Reads every bound member in the order of the bindings. Writes nothing to the store.
template <class Holder>
void LoadSettings(Holder& holder, std::span<const SettingBinding<Holder>> bindings,
                  const SettingsStore& store) {
    for (const SettingBinding<Holder>& binding : bindings) binding.Load(holder, store);
}

// Gives every bound member its table default.
template <class Holder>
void LoadDefaultSettings(Holder& holder, std::span<const SettingBinding<Holder>> bindings) {
    for (const SettingBinding<Holder>& binding : bindings) binding.LoadDefault(holder);
}

// The binding of a key, or nullptr when the holder keeps no copy of it.
template <class Holder>
const SettingBinding<Holder>* FindBinding(std::span<const SettingBinding<Holder>> bindings,
                                          std::string_view key) {
    for (const SettingBinding<Holder>& binding : bindings)
        if (binding.Key() == key) return &binding;
    return nullptr;
}

}  // namespace pelko::settings
