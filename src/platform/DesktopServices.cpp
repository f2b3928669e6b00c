#include "platform/DesktopServices.h"

#include <unistd.h>
#include <cstdlib>

#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Subprocess.h"

namespace pelko::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMediaSchema = "org.gnome.desktop.media-handling";
constexpr const char* kAutorunNever = "autorun-never";

// xdg-utils exit codes: 3 no tool for the job, 4 the action failed (both mean nothing handled it).
DesktopResult FromXdgStatus(const std::optional<ProgramResult>& result) {
    if (!result) return DesktopResult::NoHandler;
    if (result->exitStatus == 0) return DesktopResult::Ok;
    if (result->exitStatus == 3 || result->exitStatus == 4) return DesktopResult::NoHandler;
    return DesktopResult::Failed;
}

std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

// A value of a .desktop file: backslashes and spaces escaped, the path quoted for Exec.
std::string DesktopExec(const fs::path& executable) {
    std::string quoted = "\"";
    for (char c : executable.native()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

DesktopResult OpenWithDesktop(std::string_view target) {
    return FromXdgStatus(RunProgram({"xdg-open", std::string(target)}));
}

std::string MailtoLink(std::string_view address, std::string_view subject) {
    return "mailto:" + std::string(address) + "?Subject=" + PercentEncoded(subject);
}

DesktopResult ComposeMail(std::string_view address, std::string_view subject,
                          const std::optional<fs::path>& attachment) {
    std::vector<std::string> argv{"xdg-email", "--utf8", "--subject", std::string(subject)};
    if (attachment) {
        argv.push_back("--attach");
        argv.push_back(attachment->native());
    }
    if (!address.empty()) argv.emplace_back(address);
    return FromXdgStatus(RunProgram(argv));
}

fs::path AutostartFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr ? home : "") / ".config";
    }
    return base / "autostart" / "pelko.desktop";
}

bool StartsAtLogin(const fs::path& autostartFile) {
    std::ifstream in(autostartFile);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line == "Hidden=true") return false;
    }
    return true;
}

bool SetStartAtLogin(const fs::path& autostartFile, bool on, const fs::path& executable) {
    std::error_code ec;
    fs::create_directories(autostartFile.parent_path(), ec);
    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=Pelko\n"
         << "Exec=" << DesktopExec(executable) << "\n"
         << "Icon=pelko\n"
         << "Terminal=false\n"
         << "Hidden=" << (on ? "false" : "true") << "\n";
    const std::string bytes = text.str();
    return ReplaceFileContent(autostartFile, bytes);
}

AutorunSwitch ReadAutorunSwitch() {
    const std::optional<ProgramResult> result =
        RunProgram({"gsettings", "get", kMediaSchema, kAutorunNever}, true);
    if (!result || result->exitStatus != 0) return AutorunSwitch::Unavailable;
    if (result->output.starts_with("true")) return AutorunSwitch::Disabled;
    if (result->output.starts_with("false")) return AutorunSwitch::Allowed;
    return AutorunSwitch::Unavailable;
}

bool WriteAutorunSwitch(bool disabled) {
    const std::optional<ProgramResult> result =
        RunProgram({"gsettings", "set", kMediaSchema, kAutorunNever, disabled ? "true" : "false"});
    return result && result->exitStatus == 0;
}

}  // namespace pelko::platform
