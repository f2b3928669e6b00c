#include "support/StandInTools.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

namespace pelko::test {

StandInTools::StandInTools() {
    const char* path = std::getenv("PATH");
    m_savedPath = path ? path : "";
    ::setenv("PATH", (m_dir.path().native() + ":" + m_savedPath).c_str(), 1);
}

StandInTools::~StandInTools() { ::setenv("PATH", m_savedPath.c_str(), 1); }

void StandInTools::Add(std::string_view name, int status, std::string_view output) {
    const std::filesystem::path script = m_dir / name;
    const std::filesystem::path record = m_dir / (std::string(name) + ".calls");
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << record.native() << "'; done\n"
        << "printf '%s\\n' -- >> '" << record.native() << "'\n";
    if (!output.empty()) out << "printf '%s\\n' '" << output << "'\n";
    out << "exit " << status << "\n";
    out.close();
    ::chmod(script.c_str(), 0755);
}

std::vector<std::string> StandInTools::Calls(std::string_view name) const {
    std::vector<std::string> lines;
    std::ifstream in(m_dir / (std::string(name) + ".calls"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void StandInTools::HideRealTools() { ::setenv("PATH", m_dir.path().c_str(), 1); }

}  // namespace pelko::test
