#pragma once
// The memo of an MP3 file made from its ID3 version 1 tag (the last 128 bytes of the file):
// the chosen text fields in the fixed order artist, title, album, year, comment, then the
// genre's name, joined by one separator character. No other tag format is read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scan/ByteSource.h"
#include "settings/SettingBinding.h"

namespace pelko::scan {

// The MP3 options of the settings table, each held in one byte as the store's number keeps it.
struct Mp3Options {
    // Mp3Op: bit set of the fields to use, 0x01 title, 0x02 artist, 0x04 album, 0x08 comment,
    // 0x10 year, 0x20 genre.
    std::uint8_t mp3Op{};
    // Mp3Gap: character code of the separator between the fields.
    std::uint8_t mp3Gap{};

    // The table's defaults.
    Mp3Options();
    Mp3Options(std::uint8_t fields, char separator)
        : mp3Op(fields), mp3Gap(static_cast<std::uint8_t>(separator)) {}

    // The separator put between fields. A code that is no single ASCII byte, or zero, would
    // break the memo, so it becomes a space, as an empty separator field does.
    char Separator() const { return mp3Gap > 0 && mp3Gap < 0x80 ? static_cast<char>(mp3Gap) : ' '; }

    static Mp3Options Load(const settings::SettingsStore& store);
    static std::span<const settings::SettingBinding<Mp3Options>> Bindings();

    bool operator==(const Mp3Options&) const = default;
};

constexpr std::size_t kId3v1Bytes = 128;

// The memo from a tag's 128 bytes; empty when they are not a tag or no chosen field has text.
std::string Id3v1Memo(std::span<const std::uint8_t, kId3v1Bytes> tag, const Mp3Options& options);

// The memo of a file: empty when the file is shorter than a tag, cannot be read or has no tag.
std::string ReadMp3Memo(ByteSource& source, const Mp3Options& options);

// The name of an ID3v1 genre number from the standard list (with the common extensions), or the
// number written out when the list has no name for it.
std::string Id3v1GenreName(std::uint8_t genre);

}  // namespace pelko::scan
