#pragma once
// The memo of an MP3 file made from its ID3 version 1 tag (the last 128 bytes of the file):
// the chosen text fields in the fixed order artist, title, album, year, comment, then the
// genre's name, joined by one separator character. No other tag format is read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scan/ByteSource.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::scan {

struct Mp3Options {
    // Bit set of the fields to use (Mp3Op): 0x01 title, 0x02 artist, 0x04 album, 0x08 comment,
    // 0x10 year, 0x20 genre.
    int fields = 1;
    char separator = '+';  // Mp3Gap

    static Mp3Options Load(const settings::SettingsStore& store);
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
