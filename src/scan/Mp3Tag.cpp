#include "scan/Mp3Tag.h"

#include <array>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "scan/ByteSource.h"
#include "text/MbString.h"

namespace pelko::scan {

namespace {

constexpr int kTitle = 0x01;
constexpr int kArtist = 0x02;
constexpr int kAlbum = 0x04;
constexpr int kComment = 0x08;
constexpr int kYear = 0x10;
constexpr int kGenre = 0x20;

struct Field {
    int bit;
    std::size_t offset;
    std::size_t length;
};

// The order in which the fields join the memo, whatever the order of their bits.
constexpr std::array<Field, 5> kTextFields = {{
    {kArtist, 33, 30},
    {kTitle, 3, 30},
    {kAlbum, 63, 30},
    {kYear, 93, 4},
    {kComment, 97, 30},
}};
constexpr std::size_t kGenreOffset = 127;

// The ID3v1 list (0-79) followed by the extensions that players have agreed on since (80-191).
constexpr std::array<std::string_view, 192> kGenres = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A capella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore",
    "Terror",
    "Indie",
    "BritPop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Thrash Metal",
    "Anime",
    "JPop",
    "Synthpop",
    "Abstract",
    "Art Rock",
    "Baroque",
    "Bhangra",
    "Big Beat",
    "Breakbeat",
    "Chillout",
    "Downtempo",
    "Dub",
    "EBM",
    "Eclectic",
    "Electro",
    "Electroclash",
    "Emo",
    "Experimental",
    "Garage",
    "Global",
    "IDM",
    "Illbient",
    "Industro-Goth",
    "Jam Band",
    "Krautrock",
    "Leftfield",
    "Lounge",
    "Math Rock",
    "New Romantic",
    "Nu-Breakz",
    "Post-Punk",
    "Post-Rock",
    "Psytrance",
    "Shoegaze",
    "Space Rock",
    "Trop Rock",
    "World Music",
    "Neoclassical",
    "Audiobook",
    "Audio Theatre",
    "Neue Deutsche Welle",
    "Podcast",
    "Indie Rock",
    "G-Funk",
    "Dubstep",
    "Garage Rock",
    "Psybient",
};

static_assert(!kGenres.back().empty(), "every genre number of the list has a name");

void Append(std::string& memo, std::string_view text, char separator) {
    if (text.empty()) return;
    if (!memo.empty()) memo += separator;
    memo += text;
}

}  // namespace

constexpr settings::SettingBinding<Mp3Options> kMp3Bindings[] = {
    {"Mp3Op", &Mp3Options::mp3Op},
    {"Mp3Gap", &Mp3Options::mp3Gap},
};

Mp3Options::Mp3Options() { settings::LoadDefaultSettings(*this, Bindings()); }

Mp3Options Mp3Options::Load(const settings::SettingsStore& store) {
    Mp3Options options;
    settings::LoadSettings(options, Bindings(), store);
    return options;
}

std::span<const settings::SettingBinding<Mp3Options>> Mp3Options::Bindings() { return kMp3Bindings; }

std::string Id3v1GenreName(std::uint8_t genre) {
    return genre < kGenres.size() ? std::string(kGenres[genre]) : std::to_string(genre);
}

std::string Id3v1Memo(std::span<const std::uint8_t, kId3v1Bytes> tag, const Mp3Options& options) {
    std::string memo;
    if (tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G') return memo;
    for (const Field& field : kTextFields) {
        // A field whose first byte is 0xFF is unset by convention.
        if (!(options.mp3Op & field.bit) || tag[field.offset] == 0xFF) continue;
        const auto* start = reinterpret_cast<const char*>(tag.data() + field.offset);
        std::string_view text(start, field.length);
        text = text.substr(0, text.find('\0'));
        Append(memo, text::Trim(text), options.Separator());
    }
    if ((options.mp3Op & kGenre) && tag[kGenreOffset] != 0xFF)
        Append(memo, Id3v1GenreName(tag[kGenreOffset]), options.Separator());
    return memo;
}

std::string ReadMp3Memo(ByteSource& source, const Mp3Options& options) {
    if ((options.mp3Op & (kTitle | kArtist | kAlbum | kComment | kYear | kGenre)) == 0) return {};
    if (source.Size() < kId3v1Bytes) return {};
    std::array<std::uint8_t, kId3v1Bytes> tag;
    if (!source.ReadExact(source.Size() - kId3v1Bytes, tag)) return {};
    return Id3v1Memo(tag, options);
}

}  // namespace pelko::scan
