#pragma once
// Conversion between the model's text bytes and Unicode.
//
// Every string of the catalog model is a byte string in the system code page: CP936 (GBK)
// extended by GB18030 for the characters GBK lacks. Encoding prefers the CP936 bytes (so the
// euro sign is 0x80, as catalogs written on Windows hold it) and falls back to GB18030's
// four-byte forms; decoding reads CP936 first and GB18030 for what CP936 cannot decode.
// Conversion happens only at the edges of the system (file-system names, terminal output,
// UTF-8 source literals). All functions are thread-safe.

#include <initializer_list>
#include <string>
#include <string_view>

namespace pelko::text {

// Model bytes to UTF-8. A byte sequence that neither code page decodes becomes U+FFFD.
std::string ToUtf8(std::string_view local);

// UTF-8 to model bytes. Bytes that are not valid UTF-8 become U+FFFD (encoded in GB18030), so a
// file name with a broken encoding is still recorded instead of failing the scan.
std::string FromUtf8(std::string_view utf8);

// UTF-16LE code units to model bytes (the wide form of the archive's counted string).
std::string FromUtf16(std::u16string_view utf16);

// A UTF-8 literal of the source code as model bytes: Local("光盘").
inline std::string Local(std::string_view utf8Literal) { return FromUtf8(utf8Literal); }

// A UTF-8 message pattern as model bytes with its first "%s" replaced by `modelArgument`, copied
// byte for byte (so "%" in a name is never read as a format).
inline std::string LocalWith(std::string_view utf8Pattern, std::string_view modelArgument) {
    std::string out = Local(utf8Pattern);
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, modelArgument);
    return out;
}

// The same with each "%s" in turn replaced by the next argument; searching goes on after the
// text put in, so an argument holding "%s" stays as it is.
inline std::string LocalWith(std::string_view utf8Pattern, std::initializer_list<std::string_view> modelArguments) {
    std::string out = Local(utf8Pattern);
    std::size_t from = 0;
    for (std::string_view argument : modelArguments) {
        const std::size_t at = out.find("%s", from);
        if (at == std::string::npos) break;
        out.replace(at, 2, argument);
        from = at + argument.size();
    }
    return out;
}

}  // namespace pelko::text
