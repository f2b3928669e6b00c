// Mailing a disc: which list selections name a disc, the two ways with their hints, lines and
// xdg-email arguments, and the plain disc file that always exists and is current when named.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDiskInfo.h"
#include "catalog/DiscStore.h"
#include "shell/DiscMail.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/StandInTools.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::MessageKind;
using Lines = std::vector<std::pair<MessageKind, std::string>>;
using Args = std::vector<std::string>;

// A catalog folder holding one disc at rest (only its ZIP), and the entry naming it.
struct MailFixture {
    test::TempDir folder;
    test::RecordingLog storeLog;
    catalog::DiscStore store{folder.path(), storeLog};
    catalog::CDiskInfo entry;
    fs::path plain;
    test::ScriptedUi ui;
    test::RecordingLog log;

    MailFixture() {
        auto cd = std::make_unique<catalog::CCD>();
        cd->m_strVolumeLabel = text::Local("软件");
        cd->m_dwVolumeSerial = 1234;
        cd->m_bModified = true;
        EXPECT_TRUE(store.Release(cd));
        entry.m_strName = text::Local("我的软件");
        entry.m_strVolumeLabel = text::Local("软件");
        entry.m_dwVolumeSerial = 1234;
        plain = store.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
    }
    std::string Hint() const { return text::LocalWith("提示：把文件( %s )添加到附件", text::FromUtf8(plain.native())); }
};

TEST(DiscMailTest, OnlyOneSelectedEntryIsADiscToMail) {
    catalog::CDiskInfo entry, other;
    catalog::CCategory category;
    catalog::CCD cd;
    catalog::CFileInfo file;
    const struct {
        const char* name;
        std::vector<CatalogObject> selection;
        catalog::CDiskInfo* disc;
    } cases[] = {
        {"nothing selected", {}, nullptr},
        {"one entry", {&entry}, &entry},
        {"two entries", {&entry, &other}, nullptr},
        {"a category", {&category}, nullptr},
        {"a folder of the open scan object", {static_cast<catalog::CDir*>(&cd)}, nullptr},
        {"a file", {&file}, nullptr},
        {"the readme row", {ReadmeRow{}}, nullptr},
        {"an entry with a category", {&entry, &category}, nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(DiscToMail(c.selection), c.disc) << c.name;
}

TEST(DiscMailTest, TheDefaultProgramGetsTheSubjectAndTheHintNamesAPlainFileMadeFromTheZip) {
    MailFixture f;
    ASSERT_FALSE(fs::exists(f.plain));
    test::StandInTools tools;
    tools.Add("xdg-email");
    MailDisc(f.store, &f.entry, MailWay::DefaultProgram, f.ui, f.log);
    EXPECT_EQ(tools.Calls("xdg-email"), (Args{"--utf8", "--subject", "MailDisk", "--"}));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{f.Hint()});
    EXPECT_EQ(f.log.Lines(), (Lines{{MessageKind::Result, text::Local("发送光盘 我的软件")},
                                    {MessageKind::Result, f.Hint()}}));
    EXPECT_NE(f.store.OpenPath(f.plain), nullptr);
}

TEST(DiscMailTest, TheAttachingWayAttachesThePlainFileAndEndsWithATimeStamp) {
    MailFixture f;
    test::StandInTools tools;
    tools.Add("xdg-email");
    MailDisc(f.store, &f.entry, MailWay::Attached, f.ui, f.log);
    EXPECT_EQ(tools.Calls("xdg-email"), (Args{"--utf8", "--subject", "MailDisk", "--attach", f.plain.native(), "--"}));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{text::Local("提示：必须在邮件中填写收件人邮箱和主题!")});
    EXPECT_EQ(f.log.Lines(),
              (Lines{{MessageKind::TimeStamp, ""}, {MessageKind::Result, text::Local("发送光盘 我的软件")}}));
    EXPECT_NE(f.store.OpenPath(f.plain), nullptr);
}

TEST(DiscMailTest, MailProgramFailuresAreReportedByEitherWay) {
    const struct {
        const char* name;
        int status;  // of xdg-email; -1: no xdg-email at all
        const char* error;
    } cases[] = {
        {"no xdg-email", -1, "没有缺省的邮件发送程序"},
        {"no mail program", 3, "没有缺省的邮件发送程序"},
        {"xdg-email failed", 1, "发送光盘 我的软件 失败"},
    };
    for (const auto& c : cases) {
        for (const MailWay way : {MailWay::DefaultProgram, MailWay::Attached}) {
            SCOPED_TRACE(std::string(c.name) + (way == MailWay::Attached ? ", attached" : ", default"));
            MailFixture f;
            test::StandInTools tools;
            if (c.status < 0) tools.HideRealTools();
            else tools.Add("xdg-email", c.status);
            MailDisc(f.store, &f.entry, way, f.ui, f.log);
            const Lines lines = f.log.Lines();
            const auto error = std::make_pair(MessageKind::Error, text::Local(c.error));
            EXPECT_EQ(std::count(lines.begin(), lines.end(), error), 1);
            if (way == MailWay::Attached) {
                EXPECT_EQ(lines.back().second, text::Local("发送光盘 我的软件"));
            }
        }
    }
}

TEST(DiscMailTest, APlainFileOlderThanItsZipIsWrittenAgainBeforeItIsNamed) {
    MailFixture f;
    {
        std::ofstream stale(f.plain, std::ios::binary);
        stale << "left over from an older save";
    }
    fs::last_write_time(f.plain, fs::last_write_time(f.store.ZipPath(f.entry.m_strVolumeLabel, 1234)) -
                                     std::chrono::hours(1));
    test::StandInTools tools;
    tools.Add("xdg-email");
    MailDisc(f.store, &f.entry, MailWay::Attached, f.ui, f.log);
    EXPECT_NE(f.store.OpenPath(f.plain), nullptr);
}

TEST(DiscMailTest, NoDiscOrAnUnreadableOneSendsNothing) {
    MailFixture f;
    test::StandInTools tools;
    tools.Add("xdg-email");
    MailDisc(f.store, nullptr, MailWay::DefaultProgram, f.ui, f.log);
    MailDisc(f.store, nullptr, MailWay::Attached, f.ui, f.log);
    EXPECT_EQ(f.ui.messages, std::vector<std::string>(2, text::Local("请选择一个光盘后再进行发送")));
    EXPECT_TRUE(f.log.Lines().empty());

    catalog::CDiskInfo missing;
    missing.m_strName = "GONE";
    missing.m_strVolumeLabel = "GONE";
    f.ui.messages.clear();
    MailDisc(f.store, &missing, MailWay::DefaultProgram, f.ui, f.log);
    EXPECT_TRUE(f.ui.messages.empty());  // no hint naming a file that is not there
    EXPECT_EQ(f.log.Lines(), (Lines{{MessageKind::Error, text::Local("发送光盘 GONE 失败")}}));
    MailDisc(f.store, &missing, MailWay::Attached, f.ui, f.log);
    EXPECT_EQ(f.log.Lines().size(), 4u);  // the failure, then the time stamp and the disc's line
    EXPECT_EQ(f.log.Lines()[1], std::make_pair(MessageKind::Error, text::Local("发送光盘 GONE 失败")));
    EXPECT_TRUE(tools.Calls("xdg-email").empty());
}

}  // namespace
}  // namespace pelko::shell
