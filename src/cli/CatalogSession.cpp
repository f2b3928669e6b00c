#include "cli/CatalogSession.h"

#include <istream>
#include <ostream>

#include "platform/CatalogLocation.h"
#include "text/Codec.h"

namespace pelko::cli {

CatalogSession::CatalogSession(CliContext& context)
    : m_context(context),
      m_folder(platform::ResolveCatalogFolder(context.catalogFolder)),
      m_log(context.err),
      m_ui(context.in, context.err, context.interactive),
      m_doc(std::make_unique<catalog::CPelkoDoc>(m_folder, m_log, m_ui)),
      m_discs(m_folder, m_log) {}

bool CatalogSession::Open() {
    if (!platform::EnsureFolder(m_folder)) {
        m_context.err << "pelko-cli: cannot create the catalog folder " << m_folder.native() << '\n';
        return false;
    }
    if (!m_doc->LoadCatalog()) {
        m_context.err << "pelko-cli: the catalog in " << m_folder.native() << " could not be loaded\n";
        return false;
    }
    return Login();
}

// One attempt, as at the desktop program's start: the text must equal the password byte for byte.
bool CatalogSession::Login() {
    const std::string& password = Root().m_strPassword;
    if (password.empty()) return true;
    std::string entered;
    const bool fromTerminal = !m_context.passwordFromStdin && m_context.interactive;
    if (!m_context.passwordFromStdin && !fromTerminal) {
        m_context.err << "pelko-cli: the catalog has a password; give it with --password-stdin\n";
        return false;
    }
    if (!ReadSecretLine(m_context.in, m_context.err, TerminalText(text::Local("登录密码：")), fromTerminal,
                        entered)) {
        return false;  // no answer: the login is abandoned
    }
    if (!entered.empty() && entered.back() == '\r') entered.pop_back();
    if (text::FromUtf8(entered) != password) {
        m_ui.ShowMessage(text::Local("输入的密码不正确, 请重新登录"));
        return false;
    }
    return true;
}

bool CatalogSession::SaveIfModified() {
    if (!m_doc->IsModified() || m_doc->SaveCatalog()) return true;
    m_context.err << "pelko-cli: could not write the catalog file " << (m_folder / "tnk.dat").native()
                  << '\n';
    return false;
}

}  // namespace pelko::cli
